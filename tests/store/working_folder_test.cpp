#include "store/working_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <cstring>

#include "tests/support/file_size_limit.h"
#include "tests/support/folder_helpers.h"

using store::Status;
using store::WorkingFolder;
using testsupport::TempFolder;

namespace {

TEST(WorkingFolder, ExactNameFirstElseTheEntryEqualIgnoringCase) {
    TempFolder t;
    t.write(QStringLiteral("設定.TXT"), "\"ヘルプツアー\",1\r\n");
    WorkingFolder f(t.path());
    EXPECT_EQ(f.resolve(QStringLiteral("設定.txt")), t.file(QStringLiteral("設定.TXT")));
    EXPECT_EQ(f.resolve(QStringLiteral("設定.TXT")), t.file(QStringLiteral("設定.TXT")));
    EXPECT_TRUE(f.exists(QStringLiteral("設定.txt")));
    t.write(QStringLiteral("設定.txt"), "x");
    QThread::msleep(20);
    EXPECT_EQ(f.resolve(QStringLiteral("設定.txt")), t.file(QStringLiteral("設定.txt")));
    EXPECT_EQ(f.resolve(QStringLiteral("設定.TXT")), t.file(QStringLiteral("設定.TXT")));
}

TEST(WorkingFolder, ANewFileTakesTheSpellingGiven) {
    TempFolder t;
    WorkingFolder f(t.path());
    EXPECT_EQ(f.resolve(QStringLiteral("新しい.Txt")), t.file(QStringLiteral("新しい.Txt")));
    ASSERT_TRUE(f.replace(QStringLiteral("新しい.Txt"), "a").isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("新しい.Txt")});
}

TEST(WorkingFolder, WritingUnderTheOtherSpellingReplacesTheOneFile) {
    TempFolder t;
    t.write(QStringLiteral("設定.txt"), "old");
    WorkingFolder f(t.path());
    ASSERT_TRUE(f.replace(QStringLiteral("設定.TXT"), "new").isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("設定.txt")});
    EXPECT_EQ(t.read(QStringLiteral("設定.txt")), QByteArray("new"));
    ASSERT_TRUE(f.append(QStringLiteral("設定.TXT"), "+").isOk());
    EXPECT_EQ(t.read(QStringLiteral("設定.txt")), QByteArray("new+"));
    QByteArray back;
    ASSERT_TRUE(f.read(QStringLiteral("設定.Txt"), back).isOk());
    EXPECT_EQ(back, QByteArray("new+"));
    ASSERT_TRUE(f.remove(QStringLiteral("設定.TXT")).isOk());
    EXPECT_TRUE(t.entries().isEmpty());
    EXPECT_FALSE(f.exists(QStringLiteral("設定.txt")));
}

TEST(WorkingFolder, CaseFoldingCoversLatinAndFullWidthLetters) {
    TempFolder t;
    t.write(QStringLiteral("ＡＢＣ_Memo.TXT"), "x");
    WorkingFolder f(t.path());
    EXPECT_TRUE(f.exists(QStringLiteral("ａｂｃ_memo.txt")));
}

TEST(WorkingFolder, SeesFilesMadeByOthersWhenTheFolderChanges) {
    TempFolder t;
    WorkingFolder f(t.path());
    EXPECT_FALSE(f.exists(QStringLiteral("a.txt")));
    QThread::msleep(20);
    t.write(QStringLiteral("A.TXT"), "x");
    EXPECT_TRUE(f.exists(QStringLiteral("a.txt")));
    QThread::msleep(20);
    QFile::remove(t.file(QStringLiteral("A.TXT")));
    EXPECT_FALSE(f.exists(QStringLiteral("a.txt")));
}

TEST(WorkingFolder, ReadReportsMissingFiles) {
    TempFolder t;
    WorkingFolder f(t.path());
    QByteArray out;
    bool missing = false;
    Status s = f.read(QStringLiteral("無い.txt"), out, &missing);
    EXPECT_FALSE(s.isOk());
    EXPECT_TRUE(missing);
    EXPECT_EQ(s.error().file, QStringLiteral("無い.txt"));
}

TEST(WorkingFolder, ReplaceIsWholeAndLeavesNoTemporary) {
    TempFolder t;
    t.write(QStringLiteral("データ.TXT"), "old contents");
    WorkingFolder f(t.path());
    ASSERT_TRUE(f.replace(QStringLiteral("データ.TXT"), "new").isOk());
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), QByteArray("new"));
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("データ.TXT")});
    ASSERT_TRUE(f.replace(QStringLiteral("データ.TXT"), QByteArray()).isOk());
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), QByteArray());
    EXPECT_TRUE(f.exists(QStringLiteral("データ.TXT")));
}

TEST(WorkingFolder, ReplaceViaRenamesTheNamedTemporary) {
    TempFolder t;
    t.write(QStringLiteral("鑑賞履歴.TXT"), "old");
    WorkingFolder f(t.path());
    ASSERT_TRUE(
        f.replaceVia(QStringLiteral("鑑賞履歴.txt"), QStringLiteral("鑑賞履歴コピー.txt"), "new")
            .isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("鑑賞履歴.TXT")});
    EXPECT_EQ(t.read(QStringLiteral("鑑賞履歴.TXT")), QByteArray("new"));
    EXPECT_FALSE(f.exists(QStringLiteral("鑑賞履歴コピー.txt")));
}

TEST(WorkingFolder, AppendCreatesAndAppends) {
    TempFolder t;
    WorkingFolder f(t.path());
    ASSERT_TRUE(f.append(QStringLiteral("鑑賞履歴.TXT"), "a\r\n").isOk());
    ASSERT_TRUE(f.append(QStringLiteral("鑑賞履歴.txt"), "b\r\n").isOk());
    EXPECT_EQ(t.read(QStringLiteral("鑑賞履歴.TXT")), QByteArray("a\r\nb\r\n"));
    EXPECT_TRUE(f.exists(QStringLiteral("鑑賞履歴.TXT")));
}

TEST(WorkingFolder, RemoveOfAMissingFileIsNoError) {
    TempFolder t;
    WorkingFolder f(t.path());
    EXPECT_TRUE(f.remove(QStringLiteral("無い.txt")).isOk());
}

// A name that would leave the folder reads as no file and is refused.
TEST(WorkingFolder, NamesThatWouldLeaveTheFolderAreRefused) {
    TempFolder outer;
    QDir(outer.path()).mkdir(QStringLiteral("work"));
    outer.write(QStringLiteral("secret.txt"), "secret");
    WorkingFolder f(outer.file(QStringLiteral("work")));
    const QString bad[] = {QStringLiteral("../secret.txt"),
                           QStringLiteral(".."),
                           QStringLiteral("."),
                           QString(),
                           QStringLiteral("a/b.txt"),
                           QStringLiteral("..\\secret.txt"),
                           QStringLiteral("a") + QChar(0) + QStringLiteral("b")};
    for (const QString& name : bad) {
        EXPECT_FALSE(WorkingFolder::isSafeName(name));
        EXPECT_FALSE(f.resolve(name));
        EXPECT_FALSE(f.exists(name));
        QByteArray out;
        bool missing = false;
        EXPECT_FALSE(f.read(name, out, &missing).isOk());
        EXPECT_TRUE(missing);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_FALSE(f.replace(name, "x").isOk());
        EXPECT_FALSE(f.append(name, "x").isOk());
        EXPECT_FALSE(f.remove(name).isOk());
    }
    EXPECT_EQ(outer.read(QStringLiteral("secret.txt")), QByteArray("secret"));
    EXPECT_TRUE(QDir(outer.file(QStringLiteral("work")))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(WorkingFolder::isSafeName(QStringLiteral("...jpg")));
}

// A file that failed to load is never written again in the run.
TEST(WorkingFolder, UnwritableFilesAreNotTouched) {
    TempFolder t;
    t.write(QStringLiteral("データ.TXT"), "broken\"");
    WorkingFolder f(t.path());
    f.markUnwritable(QStringLiteral("データ.txt"));
    EXPECT_TRUE(f.isUnwritable(QStringLiteral("データ.TXT")));
    Status s = f.replace(QStringLiteral("データ.TXT"), "x");
    ASSERT_FALSE(s.isOk());
    EXPECT_TRUE(s.error().message().contains(QStringLiteral("データ.TXT")));
    EXPECT_FALSE(f.append(QStringLiteral("データ.TXT"), "x").isOk());
    EXPECT_FALSE(f.remove(QStringLiteral("データ.TXT")).isOk());
    EXPECT_FALSE(
        f.replaceVia(QStringLiteral("データ.TXT"), QStringLiteral("copy.txt"), "x").isOk());
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), QByteArray("broken\""));
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("データ.TXT")});
}

// The kinds of entries come from the listing: only regular files are files.
TEST(WorkingFolder, ListedAsFilesTellsRegularFilesFromTheRest) {
    TempFolder t;
    t.write(QStringLiteral("a.jpg"), "x");
    ASSERT_TRUE(QDir(t.path()).mkdir(QStringLiteral("b.jpg")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file(QStringLiteral("c.jpg"))).constData(), 0644), 0);
    ASSERT_EQ(::symlink("a.jpg", QFile::encodeName(t.file(QStringLiteral("d.jpg"))).constData()),
              0);
    WorkingFolder f(t.path());
    ASSERT_TRUE(f.makeFolder(QStringLiteral("e")).isOk());
    ASSERT_TRUE(f.replace(QStringLiteral("f.txt"), "y").isOk());
    EXPECT_EQ(
        f.listedAsFiles({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                         QStringLiteral("d.jpg"), QStringLiteral("e"), QStringLiteral("f.txt")}),
        (std::vector<bool>{true, false, false, false, false, true}));
}

// A temporary folder is named only where no entry is, whatever its case and
// even when that entry is an empty folder; a taken name changes nothing.
TEST(WorkingFolder, ATemporaryFolderNeverTakesANameThatIsTaken) {
    TempFolder t;
    ASSERT_TRUE(QDir(t.path()).mkdir(QStringLiteral("Backup")));
    WorkingFolder f(t.path());
    QString temporary;
    ASSERT_TRUE(f.makeTemporaryFolder(temporary).isOk());
    EXPECT_TRUE(temporary.startsWith(QStringLiteral(".hoshi-tmp-dir-")));
    t.write(temporary + QStringLiteral("/a.txt"), "x");
    for (const char* taken : {"Backup", "BACKUP"}) {
        bool wasTaken = false;
        ASSERT_TRUE(f.nameFolder(temporary, QString::fromLatin1(taken), &wasTaken).isOk());
        EXPECT_TRUE(wasTaken) << taken;
    }
    bool wasTaken = true;
    ASSERT_TRUE(f.nameFolder(temporary, QStringLiteral("Backup_2"), &wasTaken).isOk());
    EXPECT_FALSE(wasTaken);
    EXPECT_EQ(t.entries(), (QStringList{"Backup", "Backup_2"}));
    EXPECT_EQ(t.read(QStringLiteral("Backup_2/a.txt")), "x");
}

TEST(WorkingFolder, ListByPrefixAndSuffixIgnoringCase) {
    TempFolder t;
    t.write(QStringLiteral("メモ_A.txt"), "x");
    t.write(QStringLiteral("メモ_B.TXT"), "x");
    t.write(QStringLiteral("キャスト_A.txt"), "x");
    t.write(QStringLiteral("メモ_C.jpg"), "x");
    WorkingFolder f(t.path());
    EXPECT_EQ(f.list(QStringLiteral("メモ_"), QStringLiteral(".txt")),
              (QStringList{QStringLiteral("メモ_A.txt"), QStringLiteral("メモ_B.TXT")}));
    ASSERT_TRUE(f.replace(QStringLiteral("メモ_D.txt"), "x").isOk());
    ASSERT_TRUE(f.remove(QStringLiteral("メモ_a.TXT")).isOk());
    EXPECT_EQ(f.list(QStringLiteral("メモ_"), QStringLiteral(".txt")),
              (QStringList{QStringLiteral("メモ_B.TXT"), QStringLiteral("メモ_D.txt")}));
    // A file another program put there is listed too.
    t.write(QStringLiteral("メモ_0.txt"), "x");
    EXPECT_EQ(f.list(QStringLiteral("メモ_"), QStringLiteral(".txt")).first(),
              QStringLiteral("メモ_0.txt"));
}

// ---- A write that fails for lack of space leaves the old file.

void ExpectFailedWriteLeavesOldFile(const TempFolder& t, WorkingFolder& f, const QByteArray& big,
                                    const QString& reason) {
    const QByteArray old = t.read(QStringLiteral("データ.TXT"));
    Status s = f.replace(QStringLiteral("データ.TXT"), big);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().file, QStringLiteral("データ.TXT"));
    EXPECT_TRUE(s.error().reason.contains(reason)) << s.error().reason.toStdString();
    EXPECT_TRUE(s.error().message().contains(QStringLiteral("「データ.TXT」")));
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), old);

    s = f.append(QStringLiteral("データ.TXT"), big);
    ASSERT_FALSE(s.isOk());
    EXPECT_TRUE(s.error().reason.contains(reason)) << s.error().reason.toStdString();
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), old);

    s = f.replaceVia(QStringLiteral("データ.TXT"), QStringLiteral("コピー.txt"), big);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), old);

    // A new file that cannot be written leaves nothing behind.
    s = f.append(QStringLiteral("新規.TXT"), big);
    EXPECT_FALSE(s.isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("データ.TXT")});
}

TEST(WorkingFolder, FailedWriteForLackOfSpaceLeavesTheOldFileByteForByte) {
    TempFolder t;
    QByteArray old;
    for (int i = 0; i < 100; ++i) old += "\"title\",1\r\n";
    t.write(QStringLiteral("データ.TXT"), old);
    WorkingFolder f(t.path());
    const QByteArray big(64 * 1024, 'x');
    {
        FileSizeLimit limit(16 * 1024);
        ASSERT_TRUE(limit.ok());
        ExpectFailedWriteLeavesOldFile(t, f, big, QString::fromLocal8Bit(std::strerror(EFBIG)));
        // A small write still goes through under the limit.
        EXPECT_TRUE(f.replace(QStringLiteral("データ.TXT"), old).isOk());
    }
    EXPECT_EQ(t.read(QStringLiteral("データ.TXT")), old);
    EXPECT_TRUE(f.replace(QStringLiteral("データ.TXT"), big).isOk());
}

TEST(WorkingFolder, FailedWriteOnAFullTinyTmpfsLeavesTheOldFile) {
    TempFolder t;
    const QString mnt = t.file(QStringLiteral("tiny"));
    QDir().mkdir(mnt);
    const QByteArray native = QFile::encodeName(mnt);
    if (::mount("tmpfs", native.constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    struct Unmount {
        QByteArray p;
        ~Unmount() { ::umount2(p.constData(), MNT_DETACH); }
    } unmount{native};
    TempFolder* unused = nullptr;
    (void)unused;
    QFile seed(mnt + QStringLiteral("/データ.TXT"));
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    QByteArray old(20 * 1024, 'o');
    seed.write(old);
    seed.close();
    WorkingFolder f(mnt);
    const QByteArray big(60 * 1024, 'x');
    Status s = f.replace(QStringLiteral("データ.TXT"), big);
    ASSERT_FALSE(s.isOk());
    // The reason in Japanese, once.
    EXPECT_EQ(s.error().reason.count(store::SystemReason(ENOSPC)), 1)
        << s.error().reason.toStdString();
    EXPECT_FALSE(s.error().reason.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    QFile back(mnt + QStringLiteral("/データ.TXT"));
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), old);
    back.close();
    s = f.append(QStringLiteral("データ.TXT"), big);
    ASSERT_FALSE(s.isOk());
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), old);
    back.close();
    EXPECT_EQ(QDir(mnt).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("データ.TXT")});
}

}  // namespace
