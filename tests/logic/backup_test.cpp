#include "logic/backup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "logic/new_start.h"
#include "tests/support/fault_injection.h"
#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

const QString kData = QStringLiteral("データ.TXT");
const QDateTime kWhen(QDate(2026, 12, 8), QTime(10, 30, 5));
const QString kFolder = QStringLiteral("バックアップ_20261208_103005");

QByteArray Record(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}

class BackupTest : public ::testing::Test {
protected:
    void Load(const QByteArray& data) {
        f.write(kData, data);
        ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
    }
    QStringList EntriesOf(const QString& sub) const {
        QStringList names = QDir(f.file(sub)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    store::Catalogue catalogue;
};

// Everything the new start clears, and the masters and the settings, each under
// its own spelling and byte for byte; nothing else of the folder. The clearing
// after it leaves the copy.
TEST_F(BackupTest, TheFolderHoldsEveryFileTheClearingTouches) {
    Load(Record("T1") + Record("T2"));
    QStringList copied = {kData,      "鑑賞履歴.TXT",    "評価マスタ.txt",  "所有マスタ.txt",
                          "設定.TXT", "T1.jpg",          "T1.txt",          "T2.BMP",
                          "T2.gif",   "キャスト_T1.txt", "あらすじ_T2.txt", "メモ_Old.txt"};
    for (const QString& name : copied) {
        if (name != kData) f.write(name, name.toUtf8() + "\r\n");
    }
    for (const char* name : {"T3.jpg", "readme.txt", "メモ_T1.doc"}) f.write(name, "other");

    const logic::BackupResult r = logic::BackUpBeforeClearing(catalogue, folder, kWhen);
    ASSERT_TRUE(r.status.isOk()) << r.status.error().message().toStdString();
    EXPECT_EQ(r.folderName, kFolder);
    copied.sort();
    EXPECT_EQ(EntriesOf(kFolder), copied);
    for (const QString& name : copied)
        EXPECT_EQ(f.read(kFolder + "/" + name), f.read(name)) << name.toStdString();

    ASSERT_TRUE(logic::ClearForNewStart(catalogue, folder).status.isOk());
    EXPECT_FALSE(f.exists("T1.jpg"));
    EXPECT_EQ(EntriesOf(kFolder), copied);
    EXPECT_EQ(f.read(kFolder + "/T1.jpg"), "T1.jpg\r\n");
    EXPECT_EQ(f.read(kFolder + "/" + kData), Record("T1") + Record("T2"));
}

// A backup of the same second goes to a folder of its own; earlier ones stay.
TEST_F(BackupTest, AnEarlierBackupIsNeverTouched) {
    Load(Record("T1"));
    ASSERT_TRUE(QDir(f.path()).mkdir(kFolder));
    f.write(kFolder + "/" + kData, "earlier");
    const logic::BackupResult r = logic::BackUpBeforeClearing(catalogue, folder, kWhen);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(r.folderName, kFolder + "_2");
    EXPECT_EQ(f.read(kFolder + "/" + kData), "earlier");
    EXPECT_EQ(f.read(kFolder + "_2/" + kData), Record("T1"));
    EXPECT_EQ(EntriesOf(kFolder + "_2"), QStringList{kData});
}

// A file that cannot be copied: the error names it, the half-made folder is
// taken away again, and nothing of the folder is changed.
TEST_F(BackupTest, AFailedCopyLeavesNoFolderAndChangesNothing) {
    Load(Record("T1"));
    f.write("T1.jpg", "picture");
    // A pipe in a text's place cannot be copied.
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.file("メモ_T1.txt")).constData(), 0644), 0);
    const QStringList before = f.entries();
    const logic::BackupResult r = logic::BackUpBeforeClearing(catalogue, folder, kWhen);
    ASSERT_FALSE(r.status.isOk());
    EXPECT_TRUE(r.folderName.isEmpty());
    EXPECT_TRUE(r.status.error().file.endsWith("メモ_T1.txt"))
        << r.status.error().file.toStdString();
    EXPECT_EQ(f.entries(), before);
    EXPECT_EQ(f.read("T1.jpg"), "picture");
}

// The title files are kept as second names of the same files: a later save
// (a new file renamed over the old one) leaves the backup's bytes, and the
// program's own files, which stay in the folder, are copies that a change made
// in place by another program does not reach.
TEST_F(BackupTest, TheBackupKeepsItsBytesWhateverHappensToTheFolderAfterwards) {
    Load(Record("T1"));
    f.write("T1.jpg", "old picture");
    f.write("評価マスタ.txt", "\"評価\"\r\n");
    const logic::BackupResult r = logic::BackUpBeforeClearing(catalogue, folder, kWhen);
    ASSERT_TRUE(r.status.isOk());

    struct stat original {
    }, backup{};
    ASSERT_EQ(::stat(QFile::encodeName(f.file("T1.jpg")).constData(), &original), 0);
    ASSERT_EQ(::stat(QFile::encodeName(f.file(kFolder + "/T1.jpg")).constData(), &backup), 0);
    EXPECT_EQ(original.st_ino, backup.st_ino);

    ASSERT_TRUE(folder.replace("T1.jpg", "new picture").isOk());
    QFile master(f.file("評価マスタ.txt"));
    ASSERT_TRUE(master.open(QIODevice::ReadWrite));
    master.write("\"X\"");
    master.close();

    EXPECT_EQ(f.read(kFolder + "/T1.jpg"), "old picture");
    EXPECT_EQ(f.read(kFolder + "/評価マスタ.txt"), "\"評価\"\r\n");
}

// The import's backup: copies of the data file and the history under their
// own spellings, byte for byte, and nothing else; a missing file is passed over.
TEST_F(BackupTest, TheImportsBackupHoldsTheDataFileAndTheHistory) {
    f.write("データ.txt", Record("T1"));
    f.write("鑑賞履歴.TXT", "\"2024/01/01\",\"T1\",\"DVD\"\r\n");
    f.write("評価マスタ.txt", "\"評価\"\r\n");
    logic::BackupResult r = logic::BackUpDataAndHistory(folder, kWhen);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(r.folderName, kFolder);
    EXPECT_EQ(EntriesOf(kFolder), (QStringList{"データ.txt", "鑑賞履歴.TXT"}));
    EXPECT_EQ(f.read(kFolder + "/データ.txt"), Record("T1"));
    EXPECT_EQ(f.read(kFolder + "/鑑賞履歴.TXT"), "\"2024/01/01\",\"T1\",\"DVD\"\r\n");

    ASSERT_TRUE(QFile::remove(f.file("鑑賞履歴.TXT")));
    r = logic::BackUpDataAndHistory(folder, kWhen);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(EntriesOf(kFolder + "_2"), QStringList{"データ.txt"});
}

// A kill or a failing disk at any step of either backup: the next start finds
// no backup folder or a whole one, and nothing half made under another name.
TEST_F(BackupTest, AKillAnywhereLeavesNoBackupOrAWholeOne) {
    Load(Record("T1"));
    f.write("鑑賞履歴.TXT", "\"2024/01/01\",\"T1\",\"DVD\"\r\n");
    f.write("T1.jpg", "picture");
    f.write("メモ_T1.txt", "memo\r\n");
    const QStringList before = f.entries();
    const QStringList whole[] = {{"T1.jpg", kData, "メモ_T1.txt", "鑑賞履歴.TXT"},
                                 {kData, "鑑賞履歴.TXT"}};
    for (int which = 0; which < 2; ++which) {
        int wholeBackups = 0;
        for (int kill = 0;; ++kill) {
            ASSERT_LT(kill, 100);
            logic::BackupResult r;
            {
                testsupport::FaultInjection dies({.killAfter = kill});
                r = which == 0 ? logic::BackUpBeforeClearing(catalogue, folder, kWhen)
                               : logic::BackUpDataAndHistory(folder, kWhen);
            }
            store::WorkingFolder reopened(f.path());  // the next start
            const bool made = f.exists(kFolder);
            if (made) {
                ++wholeBackups;
                EXPECT_EQ(EntriesOf(kFolder), whole[which]) << "kill " << kill;
                for (const QString& name : whole[which])
                    EXPECT_EQ(f.read(kFolder + "/" + name), f.read(name)) << "kill " << kill;
                ASSERT_TRUE(QDir(f.file(kFolder)).removeRecursively());
            }
            EXPECT_EQ(f.entries(), before) << "kill " << kill;
            if (r.status.isOk()) {
                EXPECT_TRUE(made);
                break;
            }
        }
        // The kill after the rename, at the folder's sync.
        EXPECT_EQ(wholeBackups, 2) << which;
    }
}

}  // namespace
