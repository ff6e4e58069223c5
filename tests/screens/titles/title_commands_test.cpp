#include <sys/resource.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cerrno>
#include <csignal>

#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"

namespace {

using Dialog = FakePlatform::Dialog;

const QString kCrLf = QStringLiteral("\r\n");
const QString kData = QStringLiteral("データ.TXT");

// CP932 bytes of the names used below.
const QByteArray kShichinin = "\x8e\xb5\x90\x6c\x82\xcc\x8e\x98";                // 七人の侍
const QByteArray kIkiru = "\x90\xb6\x82\xab\x82\xe9";                            // 生きる
const QByteArray kAlienWide = "\x82\x60\x82\x8c\x82\x89\x82\x85\x82\x8e";        // Ａｌｉｅｎ
const QByteArray kShichininSpaced = "\x8e\xb5\x90\x6c\x81\x40\x82\xcc\x8e\x98";  // 七人　の侍
const QByteArray kKurosawa = "\x8d\x95\xe0\x56\x96\xbe";                         // 黒澤明

// A record in the layout of a whole-file write, every other field empty.
QByteArray Record(const QByteArray& name, const QByteArray& director = {}) {
    return "\"" + name + "\",\"" + director +
           "\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

// The record appended for a new title: the name, seventeen commas, "".
QByteArray NewRecord(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,,,,,,,,,,,\"\"\r\n";
}

// Titles "T1".."Tn".
QByteArray Titles(int n) {
    QByteArray bytes;
    for (int i = 1; i <= n; ++i) bytes += Record("T" + QByteArray::number(i));
    return bytes;
}

class TitleCommandsTest : public WindowTest {
protected:
    // Starts on the given data file with the help tour off.
    void StartWith(const QByteArray& data) {
        WriteMasters(false);
        WriteFile(kData, data);
        Start();
        ASSERT_TRUE(loaded);
        window->GalleryOutOfDate = false;
    }
    void Click(const char* name) { window->button(name)->click(); }
    void GoTo(int i) { Find<QScrollBar>("hsbData")->setValue(i); }
    QString Shown() const { return Find<QComboBox>("cboName")->currentText(); }
    QString Counter() const { return Find<QLabel>("lblKensu")->text(); }
    QScrollBar* Scroll() const { return Find<QScrollBar>("hsbData"); }
    // What the user saw from dialog `from` on.
    std::vector<Dialog> DialogsFrom(size_t from) const {
        return {fake->dialogs.begin() + std::min(from, fake->dialogs.size()), fake->dialogs.end()};
    }
    void ExpectNameBox(const Dialog& d, const QString& defaultText) const {
        EXPECT_TRUE(d.input);
        EXPECT_EQ(d.text, QStringLiteral("タイトル名を入力して下さい"));
        EXPECT_EQ(d.title, QStringLiteral("タイトル名入力"));
        EXPECT_EQ(d.defaultText, defaultText);
    }
    void ExpectWarning(const Dialog& d, const QString& text, const QString& title) const {
        EXPECT_FALSE(d.input);
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.title, title);
        EXPECT_EQ(d.icon, Platform::Icon::Warning);
        EXPECT_EQ(d.buttons, Platform::Buttons::Ok);
    }
};

const QString kForbidden = QStringLiteral("\\ / : , ; * ? < > |　の文字は使えません。");
const QString kDuplicate =
    QStringLiteral("既に同じタイトル名で登録されているものがあります。") + kCrLf + kCrLf +
    QStringLiteral("題名の後ろに追番やアーティスト名を入れるなどして区別して下さい");

TEST_F(TitleCommandsTest, NewTitleIsAppendedAndShownLast) {
    const QByteArray old = Record(kShichinin, kKurosawa) + Record("T2", kKurosawa);
    StartWith(old);
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QStringLiteral("黒澤明"));
    // From another screen the command first returns to the main screen.
    Click("cmdKensaku");
    EXPECT_FALSE(window->button("cmdDel")->isEnabled());
    fake->Input(QStringLiteral("生きる"));
    Click("cmdNew");

    ASSERT_EQ(fake->dialogs.size(), 1u);
    ExpectNameBox(fake->dialogs[0], QString());
    EXPECT_EQ(ReadFile(kData), old + NewRecord(kIkiru));
    EXPECT_TRUE(window->frame("fraMain")->isVisible());
    EXPECT_FALSE(window->frame("fraKensaku")->isVisible());
    EXPECT_TRUE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(Shown(), QStringLiteral("生きる"));
    EXPECT_EQ(Counter(), QStringLiteral("3 / 3"));
    EXPECT_EQ(Scroll()->maximum(), 3);
    EXPECT_EQ(Scroll()->value(), 3);
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QString());
    EXPECT_EQ(Find<QComboBox>("cboName")->count(), 3);
    EXPECT_TRUE(window->GalleryOutOfDate);
}

TEST_F(TitleCommandsTest, FirstTitleCreatesTheDataFile) {
    StartWith({});
    EXPECT_EQ(Counter(), QStringLiteral("0 / 0"));
    ASSERT_TRUE(QFile::remove(Path(kData)));
    fake->Input(QStringLiteral("七人の侍"));
    Click("cmdNew");
    EXPECT_EQ(ReadFile(kData), NewRecord(kShichinin));
    EXPECT_EQ(Shown(), QStringLiteral("七人の侍"));
    EXPECT_EQ(Counter(), QStringLiteral("1 / 1"));
    EXPECT_EQ(Scroll()->maximum(), 1);
    EXPECT_EQ(Scroll()->value(), 1);
}

TEST_F(TitleCommandsTest, NamesDifferingInCaseWidthOrSpacesAreNewTitles) {
    const QByteArray old = Record("Alien") + Record(kShichinin);
    StartWith(old);
    for (const QString& name : {QStringLiteral("alien"), QStringLiteral("Ａｌｉｅｎ"),
                                QStringLiteral("七人　の侍"), QStringLiteral("七人の侍 ")}) {
        fake->Input(name);
        Click("cmdNew");
        EXPECT_EQ(Shown(), name);
    }
    EXPECT_EQ(fake->dialogs.size(), 4u);  // the name boxes alone
    EXPECT_EQ(ReadFile(kData), old + NewRecord("alien") + NewRecord(kAlienWide) +
                                   NewRecord(kShichininSpaced) + NewRecord(kShichinin + " "));
    EXPECT_EQ(Counter(), QStringLiteral("6 / 6"));
}

TEST_F(TitleCommandsTest, RefusedNamesAreAskedAgainWithTheirDefaults) {
    const QByteArray old = Record(kShichinin);
    StartWith(old);
    // A forbidden character first: the default stays empty.
    fake->Input(QStringLiteral("A:B"));
    fake->Answer();
    fake->Input(QStringLiteral("七人の侍"));
    fake->Answer();
    // After a duplicate the refused name is offered; a forbidden character keeps it.
    fake->Input(QStringLiteral("七人の侍?"));
    fake->Answer();
    fake->Input(QStringLiteral("七人の侍２"));
    Click("cmdNew");

    const auto d = fake->dialogs;
    ASSERT_EQ(d.size(), 7u);
    ExpectNameBox(d[0], QString());
    ExpectWarning(d[1], kForbidden, QStringLiteral("入力制限"));
    ExpectNameBox(d[2], QString());
    ExpectWarning(d[3], kDuplicate, QStringLiteral("二重登録"));
    ExpectNameBox(d[4], QStringLiteral("七人の侍"));
    ExpectWarning(d[5], kForbidden, QStringLiteral("入力制限"));
    ExpectNameBox(d[6], QStringLiteral("七人の侍"));
    EXPECT_EQ(ReadFile(kData), old + NewRecord(kShichinin + "\x82\x51"));
    EXPECT_EQ(Counter(), QStringLiteral("2 / 2"));

    // Every one of the eleven characters is refused, anywhere in the name.
    const QString eleven = QStringLiteral("\\/:,;*?\"<>|");
    for (QChar c : eleven) {
        fake->Input(QStringLiteral("ab") + c + QStringLiteral("cd"));
        fake->Answer();
    }
    fake->Input(std::nullopt);
    window->GalleryOutOfDate = false;
    Click("cmdNew");
    const auto refusals = DialogsFrom(7);
    ASSERT_EQ(refusals.size(), 23u);
    for (int i = 0; i < 11; ++i) {
        ExpectNameBox(refusals[2 * i], QString());
        ExpectWarning(refusals[2 * i + 1], kForbidden, QStringLiteral("入力制限"));
    }
    EXPECT_EQ(ReadFile(kData), old + NewRecord(kShichinin + "\x82\x51"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

TEST_F(TitleCommandsTest, CancelOrAnEmptyNameAddsNothing) {
    const QByteArray old = Titles(2);
    StartWith(old);
    GoTo(2);
    fake->Input(std::nullopt);
    Click("cmdNew");
    fake->Input(QString());
    Click("cmdNew");
    EXPECT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(ReadFile(kData), old);
    EXPECT_EQ(Counter(), QStringLiteral("2 / 2"));
    EXPECT_EQ(Shown(), QStringLiteral("T2"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

TEST_F(TitleCommandsTest, HelpTourExplainsAddingInThreeBoxes) {
    WriteMasters(true);
    WriteFile(kData, Titles(1));
    fake->Answer();  // the two start-up explanations
    fake->Answer();
    Start();
    ASSERT_TRUE(loaded);
    fake->Answer();
    fake->Input(QStringLiteral("新作"));
    fake->Answer();
    fake->Answer();
    Click("cmdNew");

    const auto d = DialogsFrom(2);
    ASSERT_EQ(d.size(), 4u);
    // Which explanation each box is, told by its first line, in the order shown.
    const QString firstLines[] = {
        QStringLiteral("タイトル情報を追加することができます。"),
        QString(),
        QStringLiteral("監督、主演、公開日、製作国、ジャンル、評価が「未登録」になっていますので必"
                       "要に応じて登録します。"),
        QStringLiteral("＜画像の表示方法＞"),
    };
    for (int i : {0, 2, 3}) {
        EXPECT_FALSE(d[i].input);
        EXPECT_EQ(d[i].text.section(kCrLf, 0, 0), firstLines[i]) << i;
        EXPECT_EQ(d[i].title, QStringLiteral("ヘルプツアー"));
        EXPECT_EQ(d[i].icon, Platform::Icon::Information);
        EXPECT_EQ(d[i].buttons, Platform::Buttons::Ok);
    }
    ExpectNameBox(d[1], QString());
    EXPECT_EQ(Counter(), QStringLiteral("2 / 2"));

    // A cancelled name still had the first explanation, and no other.
    fake->Answer();
    fake->Input(std::nullopt);
    Click("cmdNew");
    const auto again = DialogsFrom(6);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].text, d[0].text);
}

TEST_F(TitleCommandsTest, DeletingShowsTheFollowingTitle) {
    StartWith(Titles(5));
    GoTo(3);
    fake->Answer(Platform::Answer::Ok);
    Click("cmdDel");
    ASSERT_EQ(fake->dialogs.size(), 1u);
    const Dialog& ask = fake->dialogs[0];
    EXPECT_EQ(ask.text, QStringLiteral("T3のデータを削除していいですか？"));
    EXPECT_EQ(ask.title, QStringLiteral("削除確認"));
    EXPECT_EQ(ask.icon, Platform::Icon::Warning);
    EXPECT_EQ(ask.buttons, Platform::Buttons::OkCancel);
    EXPECT_EQ(ask.defaultButton, Platform::Answer::Cancel);  // Return does not delete
    EXPECT_EQ(ReadFile(kData), Record("T1") + Record("T2") + Record("T4") + Record("T5"));
    EXPECT_EQ(Shown(), QStringLiteral("T4"));
    EXPECT_EQ(Counter(), QStringLiteral("3 / 4"));
    EXPECT_EQ(Scroll()->maximum(), 4);
    EXPECT_EQ(Find<QComboBox>("cboName")->count(), 4);
    EXPECT_TRUE(window->GalleryOutOfDate);
}

TEST_F(TitleCommandsTest, DeletingTheLastShowsTheNewLast) {
    StartWith(Titles(5));
    GoTo(5);
    fake->Answer(Platform::Answer::Ok);
    Click("cmdDel");
    EXPECT_EQ(ReadFile(kData), Titles(4));
    EXPECT_EQ(Shown(), QStringLiteral("T4"));
    EXPECT_EQ(Counter(), QStringLiteral("4 / 4"));
    EXPECT_EQ(Scroll()->value(), 4);
    EXPECT_EQ(Scroll()->maximum(), 4);
}

TEST_F(TitleCommandsTest, DeletingTheOnlyTitleLeavesAnEmptyCatalogue) {
    StartWith(Record(kShichinin, kKurosawa));
    WriteFile(QStringLiteral("キャスト_七人の侍.txt"),
              "\x8e\x4f\x91\x44\x95\x71\x98\x59\r\n");  // 三船敏郎
    fake->Answer(Platform::Answer::Ok);
    Click("cmdDel");
    EXPECT_EQ(ReadFile(kData), QByteArray());
    EXPECT_TRUE(Exists(kData));
    EXPECT_EQ(Counter(), QStringLiteral("0 / 0"));
    EXPECT_EQ(Scroll()->maximum(), 1);
    EXPECT_EQ(Scroll()->value(), 1);
    EXPECT_EQ(Shown(), QString());
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QString());
    EXPECT_EQ(Find<QComboBox>("cboName")->count(), 0);

    // The same name added again finds its cast text, on a fresh empty title.
    fake->Input(QStringLiteral("七人の侍"));
    Click("cmdNew");
    EXPECT_EQ(ReadFile(kData), NewRecord(kShichinin));
    EXPECT_EQ(Counter(), QStringLiteral("1 / 1"));
    EXPECT_EQ(Find<QPlainTextEdit>("txtSubData_1")->toPlainText(), QStringLiteral("三船敏郎"));
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QString());
}

TEST_F(TitleCommandsTest, DeletingRemovesThePicturesAndKeepsTextsAndHistory) {
    const QByteArray history = "\"2024/01/02\",\"" + kShichinin + "\",\"DVD\"\r\n";
    WriteFile(QStringLiteral("鑑賞履歴.TXT"), history);
    StartWith(Record("T1") + Record(kShichinin) + Record(kIkiru));
    const QStringList gone = {QStringLiteral("七人の侍.gif"), QStringLiteral("七人の侍.jpg"),
                              QStringLiteral("七人の侍.bmp"), QStringLiteral("七人の侍.TXT"),
                              QStringLiteral("七人の侍.txt")};
    for (const QString& f : gone) WriteFile(f, "x");
    const QStringList kept = {QStringLiteral("キャスト_七人の侍.txt"),
                              QStringLiteral("あらすじ_七人の侍.txt"),
                              QStringLiteral("メモ_七人の侍.txt"), QStringLiteral("生きる.gif")};
    for (const QString& f : kept) WriteFile(f, "kept\r\n");
    GoTo(2);
    EXPECT_EQ(Shown(), QStringLiteral("七人の侍"));
    fake->Answer(Platform::Answer::Ok);
    Click("cmdDel");
    EXPECT_EQ(fake->dialogs[0].text, QStringLiteral("七人の侍のデータを削除していいですか？"));
    for (const QString& f : gone) EXPECT_FALSE(Exists(f)) << f.toStdString();
    for (const QString& f : kept) EXPECT_EQ(ReadFile(f), QByteArray("kept\r\n")) << f.toStdString();
    EXPECT_EQ(ReadFile(QStringLiteral("鑑賞履歴.TXT")), history);
    EXPECT_EQ(ReadFile(kData), Record("T1") + Record(kIkiru));
    EXPECT_EQ(Shown(), QStringLiteral("生きる"));
    EXPECT_EQ(Counter(), QStringLiteral("2 / 2"));
}

TEST_F(TitleCommandsTest, CancelledDeletionChangesNothing) {
    StartWith(Titles(3));
    WriteFile(QStringLiteral("T2.jpg"), "x");
    GoTo(2);
    fake->Answer(Platform::Answer::Cancel);
    Click("cmdDel");
    EXPECT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(ReadFile(kData), Titles(3));
    EXPECT_TRUE(Exists(QStringLiteral("T2.jpg")));
    EXPECT_EQ(Shown(), QStringLiteral("T2"));
    EXPECT_EQ(Counter(), QStringLiteral("2 / 3"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

// Mends: what the files cannot hold, a typed name, the record limit, a failed
// write.

TEST_F(TitleCommandsTest, NameOutsideTheCharacterSetIsAskedAgain) {
    StartWith(Titles(1));
    fake->Input(QStringLiteral("한국영화"));
    fake->Answer();
    fake->Input(std::nullopt);
    Click("cmdNew");
    ASSERT_EQ(fake->dialogs.size(), 3u);
    ExpectNameBox(fake->dialogs[0], QString());
    EXPECT_FALSE(fake->dialogs[1].input);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Warning);
    EXPECT_TRUE(fake->dialogs[1].text.contains(QStringLiteral("한")))
        << fake->dialogs[1].text.toStdString();
    ExpectNameBox(fake->dialogs[2], QString());
    EXPECT_EQ(ReadFile(kData), Titles(1));
}

TEST_F(TitleCommandsTest, TypedNameThatIsNoTitleIsNotDeleted) {
    StartWith(Titles(2));
    WriteFile(QStringLiteral("存在しない.jpg"), "x");
    WriteFile(QStringLiteral("T1.jpg"), "x");
    auto* name = Find<QComboBox>("cboName");
    name->lineEdit()->selectAll();
    name->lineEdit()->insert(QStringLiteral("存在しない"));
    fake->Answer();
    Click("cmdDel");
    ASSERT_EQ(fake->dialogs.size(), 1u);
    ExpectWarning(fake->dialogs[0],
                  QStringLiteral("「存在しない」というタイトルは登録されていません。"),
                  QStringLiteral("タイトル名違い"));
    EXPECT_EQ(ReadFile(kData), Titles(2));
    EXPECT_TRUE(Exists(QStringLiteral("存在しない.jpg")));
    EXPECT_TRUE(Exists(QStringLiteral("T1.jpg")));
    EXPECT_EQ(Counter(), QStringLiteral("1 / 2"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

TEST_F(TitleCommandsTest, CatalogueStopsAtItsRecordLimit) {
    QByteArray data;
    data.reserve(32766 * 30);
    for (int i = 1; i < 32766; ++i)
        data += "\"T" + QByteArray::number(i) + "\",,,,,,,,,,,,,,,,,\"\"\r\n";
    StartWith(data);
    EXPECT_EQ(Counter(), QStringLiteral("1 / 32765"));
    fake->Input(QStringLiteral("最後"));
    Click("cmdNew");
    EXPECT_EQ(Counter(), QStringLiteral("32766 / 32766"));
    const QByteArray full = data + NewRecord("\x8d\xc5\x8c\xe3");
    EXPECT_EQ(ReadFile(kData), full);

    fake->Answer();
    Click("cmdNew");
    ASSERT_EQ(fake->dialogs.size(), 2u);
    ExpectWarning(fake->dialogs[1], QStringLiteral("登録できるタイトルは 32766 件までです。"),
                  QStringLiteral("登録数の上限"));
    EXPECT_EQ(ReadFile(kData), full);
    EXPECT_EQ(Counter(), QStringLiteral("32766 / 32766"));
}

TEST_F(TitleCommandsTest, FailedWritesLoseNothing) {
    StartWith(Titles(3));
    WriteFile(QStringLiteral("T2.jpg"), "x");
    GoTo(2);
    fake->Answer(Platform::Answer::Ok);
    fake->Answer();  // the error box
    {
        FileSizeLimit limit(10);
        Click("cmdDel");
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(kData)) << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(ReadFile(kData), Titles(3));
    EXPECT_TRUE(Exists(QStringLiteral("T2.jpg")));
    EXPECT_EQ(Shown(), QStringLiteral("T2"));
    EXPECT_EQ(Counter(), QStringLiteral("2 / 3"));
    EXPECT_FALSE(window->GalleryOutOfDate);

    // An append that cannot finish leaves the file as it was.
    fake->Input(QStringLiteral("七人の侍"));
    fake->Answer();
    {
        FileSizeLimit limit(Titles(3).size() + 4);
        Click("cmdNew");
    }
    ASSERT_EQ(fake->dialogs.size(), 4u);
    EXPECT_EQ(fake->dialogs[3].icon, Platform::Icon::Critical);
    EXPECT_EQ(ReadFile(kData), Titles(3));
    EXPECT_EQ(Counter(), QStringLiteral("2 / 3"));
    EXPECT_EQ(Find<QComboBox>("cboName")->count(), 3);
}

TEST_F(TitleCommandsTest, TitleNamedLikeAFileOfTheProgramLeavesThatFile) {
    const QByteArray data = "\x83\x66\x81\x5b\x83\x5e";  // データ
    const QByteArray settings = "\x90\xdd\x92\xe8";      // 設定
    const QByteArray cast =
        "\x83\x4c\x83\x83\x83\x58\x83\x67\x5f"
        "T1";  // キャスト_T1
    StartWith(Record("T1") + Record(data) + Record(settings) + Record(cast));
    const QByteArray castText = "kept\r\n";
    WriteFile(QStringLiteral("キャスト_T1.txt"), castText);
    WriteFile(QStringLiteral("データ.jpg"), "x");
    WriteFile(QStringLiteral("キャスト_T1.gif"), "x");

    for (int i = 0; i < 3; ++i) {
        GoTo(2);
        fake->Answer(Platform::Answer::Ok);
        Click("cmdDel");
    }
    EXPECT_EQ(ReadFile(kData), Record("T1"));
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOff);
    EXPECT_EQ(ReadFile(QStringLiteral("キャスト_T1.txt")), castText);
    EXPECT_FALSE(Exists(QStringLiteral("データ.jpg")));
    EXPECT_FALSE(Exists(QStringLiteral("キャスト_T1.gif")));
    EXPECT_EQ(Counter(), QStringLiteral("1 / 1"));
    EXPECT_EQ(Shown(), QStringLiteral("T1"));
    EXPECT_EQ(Find<QPlainTextEdit>("txtSubData_1")->toPlainText(), QStringLiteral("kept"));
}

// Its side texts and picture are named after the title: a name that would not
// fit a file name is refused, and offered again to be shortened.
TEST_F(TitleCommandsTest, ATitleTooLongForAFileNameIsRefusedAndOfferedAgain) {
    StartWith(Record(kShichinin));
    const QString tooLong(90, QChar(u'あ'));
    const QString fits(79, QChar(u'あ'));
    fake->Input(tooLong);
    fake->Answer();
    fake->Input(fits);
    Click("cmdNew");
    ASSERT_EQ(fake->dialogs.size(), 3u);
    ExpectNameBox(fake->dialogs[0], QString());
    ExpectWarning(fake->dialogs[1],
                  QStringLiteral("タイトル名が長すぎます。キャスト・あらすじ・メモや画像のファイル"
                                 "名に使えるように、このタイトル名は 79 文字までにして下さい"
                                 "（今は 90 文字です）。"),
                  QStringLiteral("入力制限"));
    ExpectNameBox(fake->dialogs[2], tooLong);
    QByteArray a79;
    for (int i = 0; i < 79; ++i) a79 += "\x82\xa0";  // あ
    EXPECT_EQ(ReadFile(kData), Record(kShichinin) + NewRecord(a79));
    EXPECT_EQ(Shown(), fits);
}

}  // namespace
