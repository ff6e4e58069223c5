#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest/QTest>
#include <cerrno>
#include <csignal>

#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"

namespace {

QByteArray Title(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}
// 七人の侍, 羅生門.
const QByteArray kData =
    Title("\x8e\xb5\x90\x6c\x82\xcc\x8e\x98") + Title("\x97\x85\x90\xb6\x96\xe5");

const QString kCast = QStringLiteral("キャスト_七人の侍.txt");
const QString kSynopsis = QStringLiteral("あらすじ_七人の侍.txt");
const QString kMemo = QStringLiteral("メモ_七人の侍.txt");
const QByteArray kMifune = "\x8e\x4f\x91\x44\x95\x71\x98\x59";  // 三船敏郎
const QByteArray kShimura = "\x8e\x75\x91\xba\x8b\xaa";         // 志村喬

class PagesTest : public WindowTest {
protected:
    void StartWith(const QByteArray& data = kData) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), data);
        Start();
        ASSERT_TRUE(loaded);
    }
    void Go(int i) { Find<QScrollBar>("hsbData")->setValue(i); }
    QPlainTextEdit* PageBox(int k) const {
        return Find<QPlainTextEdit>(QStringLiteral("txtSubData_%1").arg(k));
    }
    QString Page(int k) const { return PageBox(k)->toPlainText(); }
    // Opens page k (1 cast, 2 synopsis, 3 memo) with its page button.
    void Open(int k) { Find<QPushButton>(QStringLiteral("cmdHyouji%1").arg(k + 1))->click(); }
    void Save(int k) { Find<QPushButton>(QStringLiteral("cmdSubData%1").arg(k))->click(); }

    // Types text at the end of the box as the input method commits it, Enter
    // at each "\n".
    static void Type(QWidget* box, const QString& text) {
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        const QStringList lines = text.split(u'\n');
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (n > 0) QTest::keyClick(box, Qt::Key_Return);
            QInputMethodEvent commit;
            commit.setCommitString(lines[n]);
            QApplication::sendEvent(box, &commit);
        }
    }
    static void ClearAll(QWidget* box) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
    }
    QStringList Files() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files);
        names.sort();
        return names;
    }
};

TEST_F(PagesTest, PageIsWrittenWithCrLfAndReadsBackUnchanged) {
    StartWith();
    Open(1);
    Type(PageBox(1), QStringLiteral("三船敏郎\n志村喬"));
    Save(1);
    EXPECT_EQ(ReadFile(kCast), kMifune + "\r\n" + kShimura + "\r\n");
    // Only the cast file is written.
    EXPECT_FALSE(Exists(kSynopsis));
    EXPECT_FALSE(Exists(kMemo));
    EXPECT_EQ(ReadFile(QStringLiteral("データ.TXT")), kData);
    EXPECT_TRUE(fake->dialogs.empty());

    Go(2);
    EXPECT_EQ(Page(1), "");
    Go(1);
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎\n志村喬"));

    // Double quotes and commas are plain text here; a final empty line is kept.
    Open(2);
    Type(PageBox(2), QStringLiteral("\"名作\",と言う\n"));
    Save(2);
    const QByteArray synopsis = "\"\x96\xbc\x8d\xec\",\x82\xc6\x8c\xbe\x82\xa4\r\n\r\n";
    EXPECT_EQ(ReadFile(kSynopsis), synopsis);
    Go(2);
    Go(1);
    EXPECT_EQ(Page(2), QStringLiteral("\"名作\",と言う\n"));
    Save(2);  // saved again unchanged: the same bytes
    EXPECT_EQ(ReadFile(kSynopsis), synopsis);

    // A wave dash is kept as the character the file reads back as.
    Open(3);
    Type(PageBox(3), QStringLiteral("七〜八"));
    Save(3);
    EXPECT_EQ(ReadFile(kMemo), "\x8e\xb5\x81\x60\x94\xaa\r\n");
    EXPECT_EQ(Page(3), QStringLiteral("七～八"));
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(PagesTest, EmptyPageDeletesItsFile) {
    WriteFile(kMemo, "\x8c\x86\x8d\xec\r\n");  // 傑作
    WriteFile(QStringLiteral("メモ_羅生門.txt"), "\x8c\x86\x8d\xec\r\n");
    StartWith();
    Open(3);
    ASSERT_EQ(Page(3), QStringLiteral("傑作"));
    ClearAll(PageBox(3));
    Save(3);
    EXPECT_FALSE(Exists(kMemo));
    Go(2);
    Go(1);
    EXPECT_EQ(Page(3), "");
    // No file to delete: nothing happens.
    Save(3);
    Save(1);
    QStringList left = {QStringLiteral("メモ_羅生門.txt"), QStringLiteral("データ.TXT"),
                        QStringLiteral("所有マスタ.txt"), QStringLiteral("評価マスタ.txt"),
                        QStringLiteral("設定.TXT")};
    left.sort();
    EXPECT_EQ(Files(), left);
    EXPECT_EQ(ReadFile(QStringLiteral("メモ_羅生門.txt")), "\x8c\x86\x8d\xec\r\n");
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(PagesTest, TextOutsideTheCodePageIsRefusedBeforeWriting) {
    WriteFile(kCast, kMifune + "\r\n");
    StartWith();
    Open(1);
    Type(PageBox(1), QStringLiteral("\n한국"));
    fake->Answer();
    Save(1);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("次の文字はファイルに保存できないため使えません：「한」「국」"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("入力制限"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(ReadFile(kCast), kMifune + "\r\n");
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎\n한국"));
}

TEST_F(PagesTest, NameTypedIntoTheTitleBoxIsRefused) {
    // A file of a name that is no title: saving an empty page would delete it.
    const QString stray = QStringLiteral("キャスト_七人の侍２.txt");
    WriteFile(stray, kShimura + "\r\n");
    StartWith();
    QLineEdit* name = Find<QComboBox>("cboName")->lineEdit();
    ClearAll(name);
    Type(name, QStringLiteral("七人の侍２"));
    Open(1);
    fake->Answer();
    Save(1);
    Type(PageBox(1), QStringLiteral("三船敏郎"));
    fake->Answer();
    Save(1);
    ASSERT_EQ(fake->dialogs.size(), 2u);
    for (const auto& d : fake->dialogs) {
        EXPECT_EQ(d.text, QStringLiteral("「七人の侍２」というタイトルは登録されていません。"));
        EXPECT_EQ(d.title, QStringLiteral("タイトル名違い"));
        EXPECT_EQ(d.icon, Platform::Icon::Warning);
        EXPECT_EQ(d.buttons, Platform::Buttons::Ok);
    }
    EXPECT_EQ(ReadFile(stray), kShimura + "\r\n");
    EXPECT_FALSE(Exists(kCast));
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎"));
}

TEST_F(PagesTest, FailedSaveLeavesTheFileAndThePage) {
    WriteFile(kCast, kMifune + "\r\n");
    StartWith();
    const QStringList before = Files();
    Open(1);
    const QString typed = QStringLiteral("三船敏郎\n") + QString(200, QChar(u'侍'));
    Type(PageBox(1), typed.mid(4));
    fake->Answer();
    {
        const FileSizeLimit limit(64);
        Save(1);
    }
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(
        fake->dialogs[0].text,
        QStringLiteral("ファイル「キャスト_七人の侍.txt」：書き込めません（File too large）"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Critical);
    EXPECT_EQ(ReadFile(kCast), kMifune + "\r\n");
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(Page(1), typed);
}

TEST_F(PagesTest, UnreadablePageIsNeverWrittenOver) {
    const QByteArray broken = kMifune + "\r\n\x82";  // cut in the middle of a character
    WriteFile(kCast, broken);
    fake->Answer();  // the error box of the page that did not load
    StartWith();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(Page(1), "");
    Open(1);
    Type(PageBox(1), QStringLiteral("志村喬"));
    fake->Answer();
    Save(1);
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(
        fake->dialogs[0].text,
        QStringLiteral("ファイル「キャスト_七人の侍.txt」の 2 行目：Shift_JIS（CP932）として読め"
                       "ないバイトがあります（先頭から 11 バイト目、0x82）"));
    EXPECT_EQ(
        fake->dialogs[1].text,
        QStringLiteral("ファイル「キャスト_七人の侍.txt」：読み込みに失敗したファイルなので、上"
                       "書きしません。ファイルを直してからプログラムを起動し直してください"));
    EXPECT_EQ(ReadFile(kCast), broken);
}

TEST_F(PagesTest, UnsavedTextIsDroppedOnMovingAway) {
    WriteFile(kCast, kMifune + "\r\n");
    StartWith();
    Open(1);
    Type(PageBox(1), QStringLiteral("\n志村喬"));
    Open(2);
    Type(PageBox(2), QStringLiteral("野武士と戦う"));
    Go(2);
    Go(1);
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎"));
    EXPECT_EQ(Page(2), "");
    EXPECT_EQ(ReadFile(kCast), kMifune + "\r\n");
    EXPECT_FALSE(Exists(kSynopsis));
    EXPECT_TRUE(fake->dialogs.empty());
}

// A title too long for a file name, written into the data file by hand: it
// shows without a box and with empty pages; saving a page is refused.
TEST_F(PagesTest, ATitleTooLongForAFileNameShowsEmptyPagesAndCannotSaveThem) {
    QByteArray name;
    for (int i = 0; i < 90; ++i) name += "\x82\xa0";  // あ
    StartWith("\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n");
    EXPECT_TRUE(fake->dialogs.empty());
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(Page(k), QString());
    Open(3);
    Type(PageBox(3), QStringLiteral("メモ"));
    fake->Answer();
    Save(3);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("タイトル名が長すぎます。キャスト・あらすじ・メモや画像のファイル名に"
                             "使えるように、このタイトル名は 79 文字までにして下さい"
                             "（今は 90 文字です）。"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("入力制限"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("データ.TXT"), QStringLiteral("所有マスタ.txt"),
                                    QStringLiteral("設定.TXT"), QStringLiteral("評価マスタ.txt")}));
}

}  // namespace
