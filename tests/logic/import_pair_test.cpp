// The import's data file and history under a kill at every operation.
#include <gtest/gtest.h>

#include <cerrno>

#include "logic/csv_import.h"
#include "tests/support/fault_injection.h"
#include "tests/support/folder_helpers.h"

TEST(ImportPairTest, AKillAnywhereLeavesBothFilesOldOrBothNew) {
    const QString kData = QStringLiteral("データ.TXT"), kHistory = QStringLiteral("鑑賞履歴.TXT");
    const QByteArray oldData = "\"T1\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
    const QByteArray oldHistory = "\"2024/01/01\",\"T1\",\"DVD\"\r\n";
    logic::ImportPlan plan;
    QStringList fields = {"Paris"};
    for (int f = 1; f < 18; ++f) fields << (f >= 7 && f < 14 ? "0" : "");
    plan.titles.push_back({2, fields, {}, 0});
    plan.viewings.push_back({2, "2024/02/01", "Paris", "DVD"});
    int finishedAtTheNextStart = 0;
    for (int kill = 0;; ++kill) {
        testsupport::TempFolder f;
        f.write(kData, oldData);
        f.write(kHistory, oldHistory);
        bool finished = false;
        {
            store::WorkingFolder folder(f.path());
            store::Catalogue catalogue;
            history::History history;
            ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
            ASSERT_TRUE(history.LoadHistory(folder).isOk());
            testsupport::FaultInjection dies({.killAfter = kill});
            finished = logic::CommitImport(plan, catalogue, history, folder,
                                           QDateTime({2026, 12, 8}, {10, 30}))
                           .status.isOk();
        }
        store::WorkingFolder reopened(f.path());  // the next start
        const QByteArray data = f.read(kData), history = f.read(kHistory);
        if (finished) {
            EXPECT_NE(data, oldData);
            EXPECT_NE(history, oldHistory);
            EXPECT_GT(finishedAtTheNextStart, 0);  // a kill after the pair's journal
            break;
        }
        const bool old = data == oldData && history == oldHistory;
        finishedAtTheNextStart += !old;
        EXPECT_TRUE(old || (data.endsWith("\"Paris\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,"
                                          "\"\",\"\",\"\",\"\"\r\n") &&
                            history.contains("Paris")))
            << "kill " << kill;
        ASSERT_LT(kill, 200);
    }
}

// A write of the files that fails takes everything back: the data file and the
// history stay byte for byte, the side texts written for the new titles go,
// and only the backup is left; for each of the three ways the files are written.
TEST(ImportPairTest, AFailedWriteTakesBackTheSideTextsAndChangesNoFile) {
    const QString kData = QStringLiteral("データ.TXT"), kHistory = QStringLiteral("鑑賞履歴.TXT");
    const QByteArray oldData = "\"T1\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
    const QByteArray oldHistory = "\"2024/01/01\",\"T1\",\"DVD\"\r\n";
    QStringList fields = {"Paris"};
    for (int f = 1; f < 18; ++f) fields << (f >= 7 && f < 14 ? "0" : "");
    const struct { bool titles, viewings; } cases[] = {{true, true}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        testsupport::TempFolder f;
        f.write(kData, oldData);
        f.write(kHistory, oldHistory);
        logic::ImportPlan plan;
        if (c.titles) plan.titles.push_back({2, fields, {"Cast\r\n", "Plot", ""}, 0});
        if (c.viewings) plan.viewings.push_back({2, "2024/02/01", "T1", "DVD"});
        store::WorkingFolder folder(f.path());
        store::Catalogue catalogue;
        history::History history;
        ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
        ASSERT_TRUE(history.LoadHistory(folder).isOk());
        logic::ImportOutcome done;
        {
            testsupport::FaultInjection failing({.fileSyncError = EIO});
            done = logic::CommitImport(plan, catalogue, history, folder,
                                       QDateTime({2026, 12, 8}, {10, 30}));
        }
        EXPECT_FALSE(done.status.isWritten()) << c.titles << c.viewings;
        EXPECT_TRUE(
            done.status.error().reason.endsWith(QStringLiteral("。何も取り込んでいません")));
        EXPECT_EQ(f.read(kData), oldData);
        EXPECT_EQ(f.read(kHistory), oldHistory);
        EXPECT_EQ(f.entries(),
                  (QStringList{"データ.TXT", "バックアップ_20261208_103000", "鑑賞履歴.TXT"}))
            << c.titles << c.viewings;
    }
}
