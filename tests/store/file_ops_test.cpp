#include "store/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "tests/support/fault_injection.h"
#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

// A file outside the working folder is saved the way the folder's own are: a
// failure before the rename leaves the old file and no temporary, one of the
// folder's sync alone is marked written, the permissions stay.
TEST(FileOps, WriteFileAtomicallyKeepsTheOldFileOrWritesTheNewOne) {
    TempFolder t;
    const QString path = t.file(QStringLiteral("一覧.csv"));
    t.write(QStringLiteral("一覧.csv"), "old\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    {
        testsupport::FaultInjection full({.fileSyncError = ENOSPC});
        const store::Status s = store::WriteFileAtomically(path, "new\r\n");
        EXPECT_FALSE(s.isWritten());
        EXPECT_EQ(s.error().file, path);
    }
    EXPECT_EQ(t.entries(), QStringList{"一覧.csv"});
    EXPECT_EQ(t.read(QStringLiteral("一覧.csv")), "old\r\n");
    {
        testsupport::FaultInjection unsure({.folderSyncError = EIO});
        const store::Status s = store::WriteFileAtomically(path, "new\r\n");
        EXPECT_FALSE(s.isOk());
        EXPECT_TRUE(s.isWritten());
    }
    EXPECT_EQ(t.entries(), QStringList{"一覧.csv"});
    EXPECT_EQ(t.read(QStringLiteral("一覧.csv")), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
