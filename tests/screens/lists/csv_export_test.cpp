#include "logic/csv_export.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include "tests/support/window_fixture.h"
#include "window/grid.h"

namespace {

class CsvExportTest : public WindowTest {
protected:
    void StartWith(int titles) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), sjis::Titles(titles));
        Start();
        ASSERT_TRUE(loaded);
    }
    void Click(const char* name) { Find<QPushButton>(name)->click(); }
    QByteArray Saved(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
    }
    static std::vector<QStringList> Shown(const Grid& g) {
        std::vector<QStringList> rows;
        for (int r = 0; r < g.Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < g.Cols(); ++c) cells << g.TextMatrix(r, c);
            rows.push_back(cells);
        }
        return rows;
    }

    QTemporaryDir out;
};

// Each list is written as shown, sorted order included, to the chosen file;
// the dialog offers the screen's name and today in the home folder.
TEST_F(CsvExportTest, EachListIsWrittenAsShown) {
    StartWith(3);
    Click("cmdIchiran");
    Click("cmdSort1_0");  // titles descending
    const QString path = QDir(out.path()).filePath("main.csv");
    fake->SaveAs(path);
    Click("cmdCsvOut1");
    ASSERT_EQ(fake->saveDialogs.size(), 1u);
    EXPECT_EQ(fake->saveDialogs[0].defaultPath,
              QDir(QDir::homePath()).filePath(QStringLiteral("主一覧_20261208.csv")));
    EXPECT_EQ(fake->saveDialogs[0].filter, QStringLiteral("CSV ファイル (*.csv)"));
    const Grid& main = *Find<Grid>("msgIchiran");
    ASSERT_EQ(main.TextMatrix(1, 0), QStringLiteral("T3"));
    EXPECT_EQ(Saved(path), logic::CsvBytes(Shown(main)));
    EXPECT_TRUE(fake->dialogs.empty());

    for (const char* screen : {"cmdIchiran2", "cmdIchiran3"}) {
        Click(screen);
        const bool evaluation = QByteArray(screen) == "cmdIchiran2";
        const QString file = QDir(out.path()).filePath(evaluation ? "e.csv" : "o.csv");
        fake->SaveAs(file);
        Click(evaluation ? "cmdCsvOut2" : "cmdCsvOut3");
        EXPECT_EQ(
            QFileInfo(fake->saveDialogs.back().defaultPath).fileName(),
            evaluation ? QStringLiteral("評価_20261208.csv") : QStringLiteral("所有_20261208.csv"));
        EXPECT_EQ(Saved(file),
                  logic::CsvBytes(Shown(*Find<Grid>(evaluation ? "msgIchiran2" : "msgIchiran3"))));
    }
    // Cancel writes nothing.
    fake->SaveAs(std::nullopt);
    Click("cmdCsvOut3");
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(fake->waitPointerDepth, 0);
}

// A write that fails: the error box, and no file, whole or half.
TEST_F(CsvExportTest, AFailedWriteIsReportedAndLeavesNoFile) {
    StartWith(2);
    Click("cmdIchiran");
    const QString path = QDir(out.path()).filePath("gone/main.csv");
    fake->SaveAs(path);
    fake->Answer();
    Click("cmdCsvOut1");
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[0].text.contains(path)) << fake->dialogs[0].text.toStdString();
    EXPECT_TRUE(QDir(out.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
    EXPECT_EQ(fake->waitPointerDepth, 0);
}

}  // namespace
