// What the store keeps of its files: the check before a write, the files a
// clearing could not delete, the conflict copies of a sync tool.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdio>

#include "store/working_folder.h"
#include "tests/support/folder_helpers.h"

using store::WorkingFolder;
using testsupport::TempFolder;

namespace {

const QString kData = QStringLiteral("データ.TXT");
const QString kHistory = QStringLiteral("鑑賞履歴.TXT");

// Replaced by renaming, as another program's save does.
void WriteOutside(const TempFolder& f, const QString& name, const QByteArray& bytes) {
    f.write(QStringLiteral("outside.tmp"), bytes);
    ASSERT_EQ(std::rename(QFile::encodeName(f.file(QStringLiteral("outside.tmp"))).constData(),
                          QFile::encodeName(f.file(name)).constData()),
              0);
}

}  // namespace

TEST(SeenFilesTest, AWriteChecksTheFileAndMergesOnlyAnOutsideChange) {
    TempFolder f;
    f.write(kData, "base\r\n");
    WorkingFolder folder(f.path());
    folder.keepTrackOf({kData});
    std::vector<QByteArray> calls;
    folder.setMerger([&](const QString&, const QByteArray& base, const QByteArray& ours,
                         const QByteArray& theirs) {
        calls.push_back(base + "|" + ours + "|" + theirs);
        return store::Merged{store::Status::ok(), "merged\r\n", {"A"}};
    });
    QByteArray bytes;
    ASSERT_TRUE(folder.load(kData, bytes).isOk());

    // Its own write, then the same bytes written again by a sync tool: no merge.
    ASSERT_TRUE(folder.replace(kData, "ours1\r\n").isOk());
    EXPECT_TRUE(folder.changedFiles().isEmpty());
    WriteOutside(f, kData, "ours1\r\n");
    EXPECT_TRUE(folder.changedFiles().isEmpty());
    ASSERT_TRUE(folder.replace(kData, "ours2\r\n").isOk());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(f.read(kData), "ours2\r\n");

    // Changed outside: merged from what memory holds, and told once.
    WriteOutside(f, kData, "theirs\r\n");
    EXPECT_EQ(folder.changedFiles(), QStringList{kData});
    ASSERT_TRUE(folder.replace(kData, "ours3\r\n").isOk());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "ours2\r\n|ours3\r\n|theirs\r\n");
    EXPECT_EQ(f.read(kData), "merged\r\n");
    const auto told = folder.takeOutsideChanges();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].file, kData);
    EXPECT_EQ(told[0].conflicts, QStringList{"A"});
    EXPECT_TRUE(folder.takeOutsideChanges().empty());
    // Until memory is read again, a second write merges from the same base.
    EXPECT_EQ(folder.changedFiles(), QStringList{kData});
    ASSERT_TRUE(folder.replace(kData, "ours4\r\n").isOk());
    EXPECT_EQ(calls.back(), "ours2\r\n|ours4\r\n|merged\r\n");

    // A merge that cannot read a side writes nothing.
    folder.setMerger([](const QString&, const QByteArray&, const QByteArray&, const QByteArray&) {
        return store::Merged{store::StoreError{kData, 2, "bad"}, {}, {}};
    });
    WriteOutside(f, kData, "damaged\r\n");
    const store::Status refused = folder.replace(kData, "ours5\r\n");
    ASSERT_FALSE(refused.isWritten());
    EXPECT_EQ(refused.error().line, 2);
    EXPECT_EQ(f.read(kData), "damaged\r\n");
}

TEST(SeenFilesTest, RemoveManyNamesWhatItCouldNotDeleteAndPassesOverWhatIsMissing) {
    TempFolder f;
    f.write(QStringLiteral("a.jpg"), "a");
    ASSERT_TRUE(QDir(f.path()).mkpath(QStringLiteral("b.jpg/inside")));
    f.write(QStringLiteral("c.jpg"), "c");
    WorkingFolder folder(f.path());
    QStringList undeleted;
    const store::Status s =
        folder.removeMany({"a.jpg", "b.jpg", "missing.jpg", "c.jpg"}, {}, &undeleted);
    EXPECT_FALSE(s.isOk());
    EXPECT_EQ(s.error().file, QStringLiteral("b.jpg"));
    EXPECT_EQ(undeleted, QStringList{"b.jpg"});
    EXPECT_EQ(f.entries(), QStringList{"b.jpg"});
}

TEST(SeenFilesTest, SyncConflictCopiesOfTheDataFileAndTheHistory) {
    TempFolder f;
    for (const char* name :
         {"データ.sync-conflict-20261209-101500-7QXKZ2D.TXT",
          "データ (conflicted copy 2026-12-09).TXT", "鑑賞履歴 (Taro's conflicted copy).txt",
          "データ (2).TXT", "メモ_A.sync-conflict-1.TXT"}) {
        f.write(QString::fromUtf8(name), "x");
    }
    EXPECT_EQ(store::SyncConflictCopies(WorkingFolder(f.path())),
              QStringList({QStringLiteral("データ (conflicted copy 2026-12-09).TXT"),
                           QStringLiteral("データ.sync-conflict-20261209-101500-7QXKZ2D.TXT"),
                           QStringLiteral("鑑賞履歴 (Taro's conflicted copy).txt")}));
}
