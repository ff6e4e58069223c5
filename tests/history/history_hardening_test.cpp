// The history on a failing disk and after a crash.
#include <cerrno>

#include "tests/history/history_fixture.h"
#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"

namespace history_test {
namespace {

using testsupport::FaultInjection;

class HistoryHardeningTest : public HistoryTest {};

// A disk that fills in the middle of recording a viewing and cannot cut the
// file back: no half record, the file byte for byte.
TEST_F(HistoryHardeningTest, AFailedViewingLeavesNoHalfRecord) {
    const QByteArray old = FourViewings();
    writeFile(history::kHistoryFile, old);
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    store::Status s;
    {
        FileSizeLimit limit(static_cast<rlim_t>(old.size() + 8));
        FaultInjection faults({.truncateError = EIO});
        ASSERT_TRUE(limit.ok());
        s = h_.RecordViewing(folder_, QStringLiteral("2006/01/01"), QStringLiteral("星の旅"),
                             QStringLiteral("映画館"));
    }
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(readFile(history::kHistoryFile), old);
    EXPECT_EQ(entries(), QStringList{history::kHistoryFile});
    EXPECT_EQ(h_.HistoryCount, 4);
}

// Only the folder's fsync failed: the viewing is in the file, once, and the
// history in memory holds it.
TEST_F(HistoryHardeningTest, AViewingWrittenButNotYetSafeIsRecordedOnce) {
    writeFile(history::kHistoryFile, FourViewings());
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    for (const char* date : {"2006/01/01", "2004/02/01"}) {  // appended, then inserted
        store::Status s;
        {
            FaultInjection faults({.folderSyncError = EIO});
            s = h_.RecordViewing(folder_, QString::fromLatin1(date), QStringLiteral("星の旅"),
                                 QStringLiteral("ビデオ"));
        }
        EXPECT_FALSE(s.isOk());
        EXPECT_TRUE(s.isWritten());
    }
    EXPECT_EQ(historyBytes(),
              Line("2004/01/10", kHoshi, kEigakan) + Line("2004/02/01", kHoshi, kBideo) +
                  Line("2004/03/05", kFurui, kTerebi) + Line("2004/03/05", kHoshi, kEigakan) +
                  Line("2005/02/01", kFurui, kBideo) + Line("2006/01/01", kHoshi, kBideo));
    EXPECT_EQ(h_.HistoryCount, 6);
    EXPECT_EQ(h_.strLastKansyoubi, QStringLiteral("2006/01/01"));
}

// The copy of an interrupted insertion: beside the history a leftover that
// goes; alone, the history itself, brought back under its name.
TEST_F(HistoryHardeningTest, TheCopyOfAnInterruptedInsertion) {
    writeFile(history::kHistoryFile, FourViewings());
    writeFile(history::kHistoryCopyFile, Line("2004/01/10", kHoshi, kEigakan));
    ASSERT_TRUE(h_.LoadHistory(folder_).isOk());
    EXPECT_EQ(entries(), QStringList{history::kHistoryFile});
    EXPECT_EQ(h_.HistoryCount, 4);

    QFile::remove(path(history::kHistoryFile));
    writeFile(history::kHistoryCopyFile, FourViewings());
    history::History h;
    ASSERT_TRUE(h.LoadHistory(folder_).isOk());
    EXPECT_EQ(h.HistoryCount, 4);
    EXPECT_EQ(entries(), QStringList{history::kHistoryFile});
    EXPECT_EQ(readFile(history::kHistoryFile), FourViewings());
}

}  // namespace
}  // namespace history_test
