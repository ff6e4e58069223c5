// The stores on a failing disk, after a crash and with absurd input.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "store/catalogue.h"
#include "store/masters.h"
#include "store/record_file.h"
#include "store/side_files.h"
#include "store/text_check.h"
#include "store/working_folder.h"
#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/folder_helpers.h"

using store::Catalogue;
using store::Status;
using store::WorkingFolder;
using testsupport::FaultInjection;
using testsupport::TempFolder;

namespace {

const QString kData = QStringLiteral("データ.TXT");

QByteArray Rec(const QByteArray& name, const QByteArray& director = QByteArray()) {
    return "\"" + name + "\",\"" + director +
           "\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

QByteArray Records(int n) {
    QByteArray data;
    for (int i = 1; i <= n; ++i) data += Rec("T" + QByteArray::number(i));
    return data;
}

// A disk that fills in the middle of an add and cannot cut the file back: the
// file keeps no half record, byte for byte.
TEST(Hardening, AppendOnADiskThatStaysFullLeavesNoHalfRecord) {
    TempFolder t;
    const QByteArray old = Records(50);
    t.write(kData, old);
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    Status s;
    {
        FileSizeLimit limit(static_cast<rlim_t>(old.size() + 10));  // room for a part only
        FaultInjection faults({.truncateError = EIO});
        ASSERT_TRUE(limit.ok());
        s = c.AppendTitle(f, QStringLiteral("新しいタイトル"));
    }
    ASSERT_FALSE(s.isOk());
    EXPECT_FALSE(s.isWritten());
    EXPECT_EQ(t.read(kData), old);
    EXPECT_EQ(t.entries(), QStringList{kData});
    // The next start reads the catalogue as it was.
    WorkingFolder again(t.path());
    Catalogue d;
    ASSERT_TRUE(d.LoadTitleData(again).isOk());
    EXPECT_EQ(d.TitleCount, 50);
}

// When only the folder's fsync fails, the new bytes are in place: the error
// says so and the change stands.
TEST(Hardening, AFailedFolderSyncIsWrittenNotFailed) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    c.strKantoku[1] = QStringLiteral("B");
    Status s;
    {
        FaultInjection faults({.folderSyncError = EIO});
        s = c.SaveTitleData(f);
    }
    ASSERT_FALSE(s.isOk());
    EXPECT_TRUE(s.isWritten());
    EXPECT_EQ(t.read(kData), Rec("A", "B"));
    EXPECT_EQ(
        s.error().message(),
        QStringLiteral("ファイル「データ.TXT」：変更は書き込みましたが、まだディスクに確実には"
                       "保存されていないおそれがあります（ディスクの読み書きでエラーが起き"
                       "ました）"));
    // A file's own fsync failing is a failure: the old file stays.
    {
        FaultInjection faults({.fileSyncError = EIO});
        c.strKantoku[1] = QStringLiteral("C");
        s = c.SaveTitleData(f);
    }
    EXPECT_FALSE(s.isWritten());
    EXPECT_EQ(t.read(kData), Rec("A", "B"));
}

// The common reasons are said in Japanese, once; the rare ones in the
// system's words.
TEST(Hardening, TheSystemsReasonInJapaneseOnce) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    const struct {
        int err;
        const char* japanese;
    } cases[] = {{ENOSPC, "ディスクの空き容量が足りません"},
                 {EDQUOT, "ディスクの使用量の上限（クォータ）を超えています"},
                 {EROFS, "読み取り専用のディスクです"},
                 {EACCES, "アクセスが許可されていません"}};
    for (const auto& c : cases) {
        Status s;
        {
            FaultInjection faults({.fileSyncError = c.err});
            s = f.replace(kData, "x");
        }
        ASSERT_FALSE(s.isOk());
        EXPECT_EQ(s.error().message(), QStringLiteral("ファイル「データ.TXT」：書き込めません（") +
                                           QString::fromUtf8(c.japanese) + QStringLiteral("）"));
    }
    EXPECT_EQ(store::SystemReason(EFBIG), QString::fromLocal8Bit(std::strerror(EFBIG)));
    // A name too long for the system, on reading.
    QByteArray out;
    const Status s = f.read(QString(300, QLatin1Char('a')), out);
    EXPECT_EQ(s.error().reason, QStringLiteral("開けません（ファイル名が長すぎます）"));
    EXPECT_EQ(t.read(kData), Rec("A"));
}

// Opening the folder removes the temporaries a crash left; a user's file of a
// similar name stays.
TEST(Hardening, LeftoverTemporariesGoAtStartAndNothingElse) {
    TempFolder t;
    const QStringList leftovers = {QStringLiteral(".hoshi-tmp-Ab3xZ9"),
                                   QStringLiteral(".hoshi-tmp-000000")};
    const QStringList kept = {
        QStringLiteral(".hoshi-tmp-notes.txt"), QStringLiteral(".hoshi-tmp-Ab3xZ"),
        QStringLiteral("hoshi-tmp-Ab3xZ9"),     QStringLiteral(".hoshi-tmp-Ab3xZ9.txt"),
        QStringLiteral(".HOSHI-TMP-Ab3xZ9"),    kData};
    for (const QString& n : leftovers + kept) t.write(n, "bytes");
    QDir(t.path()).mkdir(QStringLiteral(".hoshi-tmp-dir123"));
    // A folder temporary goes with the files in it.
    QDir(t.path()).mkdir(QStringLiteral(".hoshi-tmp-dir-Ab3xZ9"));
    t.write(QStringLiteral(".hoshi-tmp-dir-Ab3xZ9/") + kData, "bytes");
    WorkingFolder f(t.path());
    QStringList expected = kept;
    expected << QStringLiteral(".hoshi-tmp-dir123");
    expected.sort();
    QStringList now =
        QDir(t.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    now.sort();
    EXPECT_EQ(now, expected);
    for (const QString& n : kept) EXPECT_EQ(t.read(n), QByteArray("bytes")) << n.toStdString();
}

// A text longer than a record may hold is damage: the load stops with the
// file and the line; typed, it is refused; written, it is refused.
TEST(Hardening, ARecordTextOver1000CharactersIsRefused) {
    TempFolder t;
    const QByteArray longest(1000, 'x');
    const QByteArray tooLong(1001, 'x');
    t.write(kData, Rec("A", longest) + Rec("B", tooLong));
    WorkingFolder f(t.path());
    Catalogue c;
    const Status s = c.LoadTitleData(f);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().message(),
              QStringLiteral("ファイル「データ.TXT」の 2 行目：項目が長すぎます（1001 文字）。"
                             "項目は 1000 文字までです"));
    EXPECT_TRUE(f.isUnwritable(kData));

    t.write(QStringLiteral("評価マスタ.txt"), "\"" + tooLong + "\"\r\n");
    store::Masters m;
    EXPECT_EQ(store::LoadEvaluationMaster(f, m).error().line, 1);

    EXPECT_TRUE(store::CheckRecordText(QString(1000, QChar(u'字'))).ok());
    const store::InputCheck typed = store::CheckRecordText(QString(1001, QChar(u'字')));
    EXPECT_FALSE(typed.ok());
    EXPECT_EQ(typed.warning(),
              QStringLiteral("入力できるのは 1000 文字までです（1001 文字あります）。"));
    // Side texts keep no such limit.
    EXPECT_TRUE(store::CheckLineText(QString(5000, QChar(u'字'))).ok());

    store::RecordWriter w(kData);
    w.WriteRecord({store::Field::Text(QString(1001, QChar(u'字')))});
    QByteArray bytes;
    EXPECT_FALSE(w.finish(bytes).isOk());
}

// A title whose side text names would not fit a file name.
TEST(Hardening, TitlesTooLongForAFileName) {
    const QString fits(79, QChar(u'あ'));  // "キャスト_" + 79 × 3 bytes + ".txt" = 254
    const QString tooLong(90, QChar(u'あ'));
    EXPECT_FALSE(store::TitleNameTooLong(fits));
    EXPECT_FALSE(store::TitleNameTooLong(QString(238, QLatin1Char('a'))));
    ASSERT_TRUE(store::TitleNameTooLong(tooLong));
    EXPECT_EQ(*store::TitleNameTooLong(tooLong),
              QStringLiteral("タイトル名が長すぎます。キャスト・あらすじ・メモや画像のファイル名に"
                             "使えるように、このタイトル名は 79 文字までにして下さい"
                             "（今は 90 文字です）。"));
    EXPECT_TRUE(store::TitleNameTooLong(QString(239, QLatin1Char('a')))
                    ->contains(QStringLiteral("238 文字まで")));

    TempFolder t;
    WorkingFolder f(t.path());
    // Read as having no side texts and no picture, without an error.
    for (store::SideText k :
         {store::SideText::Cast, store::SideText::Synopsis, store::SideText::Memo}) {
        QString text = QStringLiteral("previous");
        EXPECT_TRUE(store::LoadSideText(f, k, tooLong, text).isOk());
        EXPECT_EQ(text, QString());
    }
    EXPECT_TRUE(store::PictureCandidates(f, tooLong).isEmpty());
    // Saving is refused with the warning.
    const Status s = store::SaveSideText(f, store::SideText::Memo, tooLong, QStringLiteral("メモ"));
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().reason, *store::TitleNameTooLong(tooLong));
    EXPECT_TRUE(t.entries().isEmpty());
}

// A missing master or settings file is created with the defaults; a created
// file whose folder did not sync still counts as loaded.
TEST(Hardening, LoadOrCreateGoesOnAfterAWrittenCreation) {
    TempFolder t;
    WorkingFolder f(t.path());
    store::Masters m;
    m.intHelpTour = 0;
    Status s;
    {
        FaultInjection faults({.folderSyncError = EIO});
        s = store::LoadSettings(f, m);
    }
    EXPECT_TRUE(s.isWritten());
    EXPECT_FALSE(s.isOk());
    EXPECT_EQ(m.intHelpTour, 1);
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("設定.TXT")});
    Catalogue c;
    {
        FaultInjection faults({.folderSyncError = EIO});
        s = c.LoadTitleData(f);
    }
    EXPECT_TRUE(s.isWritten());
    EXPECT_TRUE(c.IsLoaded());
    EXPECT_TRUE(c.AppendTitle(f, QStringLiteral("A")).isOk());
}

}  // namespace
