#include <vector>

#include "history_fixture.h"

using namespace history_test;
using history::History;

namespace {

std::vector<QString> Strings(std::initializer_list<const char*> utf8) {
    std::vector<QString> out;
    for (const char* s : utf8) out.push_back(QString::fromUtf8(s));
    return out;
}

TEST_F(HistoryTest, LoadFillsArraysAndListsInFirstAppearanceOrder) {
    writeFile(history::kHistoryFile, FourViewings());
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_TRUE(h_.IsLoaded());
    EXPECT_EQ(h_.HistoryCount, 4);
    ASSERT_EQ(h_.strKansyoubi.size(), 5u);
    EXPECT_EQ(h_.strKansyoubi[1], "2004/01/10");
    EXPECT_EQ(h_.strKansyouDaimei[2], QString::fromUtf8("古い映画"));
    EXPECT_EQ(h_.strKansyouNaiyou[4], QString::fromUtf8("ビデオ"));
    EXPECT_EQ(h_.strLastKansyoubi, "2005/02/01");

    EXPECT_EQ(h_.cboKanbi, Strings({"2004/01", "2004/03", "2005/02"}));
    EXPECT_EQ(h_.cboKanbi2, Strings({"2004年", "2005年"}));
    // File order, not sorted order (テレビ and ビデオ sort before 映画館).
    EXPECT_EQ(h_.cboKansyou, Strings({"映画館", "テレビ", "ビデオ"}));

    EXPECT_EQ(h_.ViewingsOf(QString::fromUtf8("星の旅")), (std::vector<int>{1, 3}));
    EXPECT_EQ(h_.ViewingsOf(QString::fromUtf8("古い映画")), (std::vector<int>{2, 4}));
    EXPECT_TRUE(h_.ViewingsOf(QString::fromUtf8("星の")).empty());
}

TEST_F(HistoryTest, ReloadReplacesEverything) {
    writeFile(history::kHistoryFile, FourViewings());
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    writeFile(history::kHistoryFile, Line("2010/10/10", "x", "y"));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 1);
    EXPECT_EQ(h_.strKansyoubi.size(), 2u);
    EXPECT_EQ(h_.cboKanbi, Strings({"2010/10"}));
    EXPECT_EQ(h_.cboKansyou, Strings({"y"}));
    EXPECT_TRUE(h_.ViewingsOf(QString::fromUtf8("星の旅")).empty());
}

// Titles are kept by name only: a title no catalogue holds still counts.
TEST_F(HistoryTest, ViewingsOfTitlesOutsideTheCatalogueCount) {
    writeFile(store::kDataFile, QByteArray());
    writeFile(history::kHistoryFile, Line("2004/01/10", kHoshi, kEigakan));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 1);
    EXPECT_EQ(h_.ViewingsOf(QString::fromUtf8("星の旅")), std::vector<int>{1});
}

// A value is present only when that exact value was seen: "a" is not inside "a,b".
TEST_F(HistoryTest, DistinctnessIsExact) {
    writeFile(history::kHistoryFile, Line("2004/01/10", "t", "a,b") + Line("2004/01/11", "t", "a") +
                                         Line("2004/01/12", "t", "b") +
                                         Line("2004/01/13", "t", "a"));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.cboKansyou, Strings({"a,b", "a", "b"}));
}

// A hand-edited file out of date order: a month or year seen before, then
// another, then the first again, is listed once.
TEST_F(HistoryTest, MonthsAndYearsComingBackAreListedOnce) {
    writeFile(history::kHistoryFile, Line("2004/01/10", "t", "c") + Line("2005/02/01", "t", "c") +
                                         Line("2004/01/11", "t", "c") +
                                         Line("2004/02/01", "t", "c"));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.cboKanbi, Strings({"2004/01", "2005/02", "2004/02"}));
    EXPECT_EQ(h_.cboKanbi2, Strings({"2004年", "2005年"}));
    EXPECT_EQ(h_.strLastKansyoubi, "2004/02/01");
}

TEST_F(HistoryTest, EmptyDatesAndContentsStayOutOfTheLists) {
    writeFile(history::kHistoryFile, Line("", "t", "") + Line("2004/01/10", "t", "c"));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 2);
    EXPECT_EQ(h_.cboKanbi, Strings({"2004/01"}));
    EXPECT_EQ(h_.cboKanbi2, Strings({"2004年"}));
    EXPECT_EQ(h_.cboKansyou, Strings({"c"}));
}

TEST_F(HistoryTest, MissingOrEmptyFileIsAnEmptyHistory) {
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_TRUE(h_.IsLoaded());
    EXPECT_EQ(h_.HistoryCount, 0);
    EXPECT_EQ(h_.strLastKansyoubi, "");
    EXPECT_TRUE(entries().isEmpty()) << "a load must not create the file";

    writeFile(history::kHistoryFile, QByteArray());
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 0);
    EXPECT_TRUE(h_.cboKansyou.empty());
}

// The lower-case spelling of the rewrite is the same file.
TEST_F(HistoryTest, FileFoundUnderEitherSpelling) {
    writeFile(history::kHistoryFileRewrite, Line("2004/01/10", kHoshi, kEigakan));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 1);
}

TEST_F(HistoryTest, BlankLinesAtTheEndArePassedOver) {
    writeFile(history::kHistoryFile, FourViewings() + "\r\n\r\n");
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 4);
    EXPECT_EQ(h_.strLastKansyoubi, "2005/02/01");
}

// A file that does not read whole stops the load with its name and line, and is
// never written again in this run.
TEST_F(HistoryTest, MalformedFileStopsTheLoadAndIsNeverWritten) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;
    };
    const std::vector<Case> cases = {
        {"unclosed quote", Line("2004/01/10", "t", "c") + "\"2004/01/11\",\"t\",\"c\r\n", 2},
        {"stray quote inside a text",
         Line("2004/01/10", "t", "c") + "\"2004/01/11\",\"t\"x\",\"c\"\r\n", 2},
        {"last record short of a field", Line("2004/01/10", "t", "c") + "\"2004/01/11\",\"t\"\r\n",
         2},
        {"bytes that are not CP932", Line("2004/01/10", "t", "c") + Line("2004/01/11", "\x82", "c"),
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        store::WorkingFolder folder(dir.path());
        const QString file = dir.filePath(history::kHistoryFile);
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        History h;
        store::Status s = h.LoadHistory(folder);
        ASSERT_FALSE(s.isOk());
        EXPECT_EQ(s.error().file.compare(history::kHistoryFile, Qt::CaseInsensitive), 0);
        EXPECT_EQ(s.error().line, c.line);
        EXPECT_FALSE(s.error().reason.isEmpty());
        EXPECT_FALSE(h.IsLoaded());
        EXPECT_EQ(h.HistoryCount, 0);
        EXPECT_TRUE(h.cboKansyou.empty());
        EXPECT_TRUE(folder.isUnwritable(history::kHistoryFile));
        EXPECT_TRUE(folder.isUnwritable(history::kHistoryFileRewrite));

        EXPECT_FALSE(h.RecordViewing(folder, "2030/01/01", "t", "c").isOk());
        EXPECT_FALSE(h.RecordViewing(folder, "2000/01/01", "t", "c").isOk());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.bytes);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }
}

TEST_F(HistoryTest, MoreRecordsThanTheLimitStopTheLoad) {
    QByteArray bytes;
    for (int i = 0; i < 32767; ++i) bytes += Line("2004/01/10", "t", "c");
    writeFile(history::kHistoryFile, bytes);
    store::Status s = h_.LoadHistory(folder_);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().line, 32767);
    EXPECT_FALSE(h_.IsLoaded());
    EXPECT_EQ(h_.HistoryCount, 0);
    EXPECT_TRUE(folder_.isUnwritable(history::kHistoryFile));
}

TEST(ShortViewingDate, TwoDigitYear) {
    EXPECT_EQ(history::ShortViewingDate("2004/07/15"), "04/07/15");
    EXPECT_EQ(history::ShortViewingDate("2004/07/05"), "04/07/05");
}

}  // namespace
