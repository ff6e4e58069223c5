#include <signal.h>
#include <sys/resource.h>

#include <vector>

#include "history_fixture.h"
#include "tests/support/file_size_limit.h"

using namespace history_test;
using history::History;

namespace {

const QString kHoshiText = QString::fromUtf8("星の旅");
const QString kFuruiText = QString::fromUtf8("古い映画");
const QString kBideoText = QString::fromUtf8("ビデオ");

class RecordTest : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        writeFile(history::kHistoryFile, FourViewings());
        ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    }

    // The file after a refused or failed write: as it was, and alone.
    void expectUntouched() {
        EXPECT_EQ(historyBytes(), FourViewings());
        EXPECT_EQ(entries().size(), 1) << entries().join(" ").toStdString();
    }
};

TEST_F(RecordTest, SameDateAsTheLastIsAppended) {
    ASSERT_TRUE(h_.RecordViewing(folder_, "2005/02/01", kHoshiText, kBideoText).isOk());
    EXPECT_EQ(historyBytes(), FourViewings() + Line("2005/02/01", kHoshi, kBideo));
    EXPECT_EQ(h_.HistoryCount, 5);
    EXPECT_EQ(h_.ViewingsOf(kHoshiText), (std::vector<int>{1, 3, 5}));
}

TEST_F(RecordTest, LaterDateIsAppendedNormalised) {
    ASSERT_TRUE(h_.RecordViewing(folder_, "2006-1-2", kFuruiText, "DVD").isOk());
    EXPECT_EQ(historyBytes(), FourViewings() + Line("2006/01/02", kFurui, "DVD"));
    EXPECT_EQ(h_.strLastKansyoubi, "2006/01/02");
    EXPECT_EQ(h_.cboKanbi.back(), "2006/01");
    EXPECT_EQ(h_.cboKanbi2.back(), QString::fromUtf8("2006年"));
    EXPECT_EQ(h_.cboKansyou.back(), "DVD");
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(RecordTest, EarlierDateGoesAfterRecordsOfTheSameDate) {
    ASSERT_TRUE(h_.RecordViewing(folder_, "2004/03/05", kFuruiText, kBideoText).isOk());
    EXPECT_EQ(historyBytes(),
              Line("2004/01/10", kHoshi, kEigakan) + Line("2004/03/05", kFurui, kTerebi) +
                  Line("2004/03/05", kHoshi, kEigakan) + Line("2004/03/05", kFurui, kBideo) +
                  Line("2005/02/01", kFurui, kBideo));
    // The copy is not left behind, and the file keeps its one spelling.
    EXPECT_EQ(entries(), QStringList{history::kHistoryFile});
    EXPECT_EQ(h_.HistoryCount, 5);
    EXPECT_EQ(h_.ViewingsOf(kFuruiText), (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(h_.strLastKansyoubi, "2005/02/01");
}

TEST_F(RecordTest, DateBeforeEveryRecordGoesFirst) {
    ASSERT_TRUE(h_.RecordViewing(folder_, "2003/12/31", kHoshiText, "BS").isOk());
    EXPECT_EQ(historyBytes(), Line("2003/12/31", kHoshi, "BS") + FourViewings());
    EXPECT_EQ(entries().size(), 1);
    EXPECT_EQ(h_.cboKanbi.front(), "2003/12");
    EXPECT_EQ(h_.cboKansyou.front(), "BS");
}

TEST_F(RecordTest, ShortDateIsStoredInFullForm) {
    ASSERT_TRUE(h_.RecordViewing(folder_, "2004/7/5", kHoshiText, kBideoText).isOk());
    EXPECT_EQ(historyBytes(),
              Line("2004/01/10", kHoshi, kEigakan) + Line("2004/03/05", kFurui, kTerebi) +
                  Line("2004/03/05", kHoshi, kEigakan) + Line("2004/07/05", kHoshi, kBideo) +
                  Line("2005/02/01", kFurui, kBideo));
    EXPECT_EQ(h_.strKansyoubi[4], "2004/07/05");
    EXPECT_EQ(history::ShortViewingDate(h_.strKansyoubi[4]), "04/07/05");
}

TEST_F(HistoryTest, FirstViewingCreatesTheFile) {
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    ASSERT_TRUE(h_.RecordViewing(folder_, "2004/7/15", kHoshiText, kBideoText).isOk());
    EXPECT_EQ(entries(), QStringList{history::kHistoryFile});
    EXPECT_EQ(readFile(history::kHistoryFile), Line("2004/07/15", kHoshi, kBideo));
    EXPECT_EQ(h_.HistoryCount, 1);
    EXPECT_EQ(h_.ViewingsOf(kHoshiText), std::vector<int>{1});
}

TEST(CheckEntry, RefusalsInTheirOrder) {
    auto check = [](const char* date, const char* content) {
        return History::CheckEntry(QString::fromUtf8(date), QString::fromUtf8(content));
    };
    const QString missing = QString::fromUtf8("入力漏れ");
    auto r = check("", "");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->message, QString::fromUtf8("鑑賞日が入力されていません"));
    EXPECT_EQ(r->title, missing);
    r = check("", "x");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->message, QString::fromUtf8("鑑賞日が入力されていません"));
    r = check("abc", "");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->message, QString::fromUtf8("鑑賞内容が入力されていません"));
    EXPECT_EQ(r->title, missing);
    for (const char* bad : {"abc", "2004/07", "2004/13/01", "2004/02/30", "2004/07-05"}) {
        r = check(bad, "x");
        ASSERT_TRUE(r) << bad;
        EXPECT_EQ(r->message, QString::fromUtf8("日付の形式ではありません"));
        EXPECT_EQ(r->title, QString::fromUtf8("日付入力違い"));
    }
    EXPECT_FALSE(check("2004/7/5", "x"));
    EXPECT_FALSE(check("2004-07-05", "x"));
    EXPECT_FALSE(check("2004/02/29", "x"));
}

TEST_F(RecordTest, RefusedEntryWritesNothing) {
    EXPECT_FALSE(h_.RecordViewing(folder_, "", kHoshiText, "x").isOk());
    EXPECT_FALSE(h_.RecordViewing(folder_, "2004/01/01", kHoshiText, "").isOk());
    EXPECT_FALSE(h_.RecordViewing(folder_, "2004/02/30", kHoshiText, "x").isOk());
    expectUntouched();
    EXPECT_EQ(h_.HistoryCount, 4);
}

// Text the file cannot hold is refused, never written as "?" or cut.
TEST_F(RecordTest, TextTheFileCannotHoldIsRefused) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QString::fromUtf8("星の\"旅"), "x"},    {kHoshiText, QString::fromUtf8("a\r\nb")},
        {kHoshiText, QString::fromUtf8("a\nb")}, {QString::fromUtf8("한국"), "x"},
        {kHoshiText, QString::fromUtf8("😀")},
    };
    for (const auto& [title, content] : cases) {
        SCOPED_TRACE(title.toStdString() + " / " + content.toStdString());
        store::Status s = h_.RecordViewing(folder_, "2010/01/01", title, content);
        ASSERT_FALSE(s.isOk());
        EXPECT_FALSE(s.error().reason.isEmpty());
        s = h_.RecordViewing(folder_, "2000/01/01", title, content);
        EXPECT_FALSE(s.isOk());
        expectUntouched();
    }
    EXPECT_EQ(h_.HistoryCount, 4);
}

TEST_F(HistoryTest, NothingIsWrittenBeforeALoad) {
    EXPECT_FALSE(h_.RecordViewing(folder_, "2004/01/01", "t", "c").isOk());
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(HistoryTest, FullHistoryRefusesOneMore) {
    QByteArray bytes;
    for (int i = 0; i < 32766; ++i) bytes += Line("2004/01/10", "t", "c");
    writeFile(history::kHistoryFile, bytes);
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(h_.HistoryCount, 32766);
    EXPECT_FALSE(h_.RecordViewing(folder_, "2004/01/10", "t", "c").isOk());
    EXPECT_FALSE(h_.RecordViewing(folder_, "2004/01/01", "t", "c").isOk());
    EXPECT_EQ(readFile(history::kHistoryFile), bytes);
    EXPECT_EQ(h_.HistoryCount, 32766);
    EXPECT_EQ(entries().size(), 1);
}

// An appended record starts on its own line even when a hand edit left the last
// line open; otherwise its date would be swallowed by the record before it.
TEST_F(HistoryTest, AppendAfterAnOpenLastLine) {
    const QByteArray open = Line("2004/01/10", kHoshi, kEigakan).chopped(2);
    writeFile(history::kHistoryFile, open);
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    ASSERT_EQ(h_.HistoryCount, 1);
    ASSERT_TRUE(h_.RecordViewing(folder_, "2004/01/11", kHoshiText, kBideoText).isOk());
    EXPECT_EQ(readFile(history::kHistoryFile), open + "\r\n" + Line("2004/01/11", kHoshi, kBideo));
    EXPECT_EQ(h_.HistoryCount, 2);
    EXPECT_EQ(h_.strKansyouNaiyou[2], kBideoText);
}

// The insertion copies the file as it is on disk, so a record added behind the
// program's back survives.
TEST_F(RecordTest, InsertionKeepsWhatTheFileHolds) {
    QByteArray grown = FourViewings() + Line("2006/06/06", "x", "y");
    writeFile(history::kHistoryFile, grown);
    ASSERT_TRUE(h_.RecordViewing(folder_, "2004/01/10", kFuruiText, kBideoText).isOk());
    EXPECT_EQ(historyBytes(),
              Line("2004/01/10", kHoshi, kEigakan) + Line("2004/01/10", kFurui, kBideo) +
                  Line("2004/03/05", kFurui, kTerebi) + Line("2004/03/05", kHoshi, kEigakan) +
                  Line("2005/02/01", kFurui, kBideo) + Line("2006/06/06", "x", "y"));
    EXPECT_EQ(h_.HistoryCount, 6);
}

TEST_F(RecordTest, FailedWriteLeavesTheOldFileAndReportsIt) {
    const rlim_t room = FourViewings().size() + 8;
    store::Status appended = store::Status::ok(), inserted = store::Status::ok();
    {
        FileSizeLimit limit(room);
        appended = h_.RecordViewing(folder_, "2006/01/01", kHoshiText, kBideoText);
    }
    EXPECT_FALSE(appended.isOk());
    expectUntouched();
    {
        FileSizeLimit limit(room);
        inserted = h_.RecordViewing(folder_, "2003/01/01", kHoshiText, kBideoText);
    }
    EXPECT_FALSE(inserted.isOk());
    expectUntouched();
    EXPECT_EQ(h_.HistoryCount, 4);

    // Room again: the same viewing goes in.
    ASSERT_TRUE(h_.RecordViewing(folder_, "2003/01/01", kHoshiText, kBideoText).isOk());
    EXPECT_EQ(historyBytes(), Line("2003/01/01", kHoshi, kBideo) + FourViewings());
}

}  // namespace
