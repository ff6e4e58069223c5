#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <cerrno>
#include <csignal>
#include <ostream>

#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"

// Failures show the texts, not their code units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kData = QStringLiteral("データ.TXT");

namespace cp {
const QByteArray kSevenSamurai = "\x8e\xb5\x90\x6c\x82\xcc\x8e\x98";           // 七人の侍
const QByteArray kKurosawa = "\x8d\x95\xe0\x56\x96\xbe";                       // 黒澤明
const QByteArray kMifune = "\x8e\x4f\x91\x44\x95\x71\x98\x59";                 // 三船敏郎
const QByteArray kJapan = "\x93\xfa\x96\x7b";                                  // 日本
const QByteArray kJidaigeki = "\x8e\x9e\x91\xe3\x8c\x80";                      // 時代劇
const QByteArray kRoman = "\x83\x8d\x81\x5b\x83\x7d\x82\xcc\x8b\x78\x93\xfa";  // ローマの休日
const QByteArray kPeck = "\x83\x79\x83\x62\x83\x4e";                           // ペック
const QByteArray kAmerica = "\x83\x41\x83\x81\x83\x8a\x83\x4a";                // アメリカ
const QByteArray kRomance = "\x97\xf6\x88\xa4";                                // 恋愛
const QByteArray kAlien = "\x83\x47\x83\x43\x83\x8a\x83\x41\x83\x93";          // エイリアン
const QByteArray kSigourney = "\x83\x56\x83\x4b\x83\x6a\x81\x5b";              // シガニー
const QByteArray kBritain = "\x89\x70\x8d\x91";                                // 英国
const QByteArray kSF = "\x82\x72\x82\x65";                                     // ＳＦ
const QByteArray kCircle = "\x81\x9b";                                         // ○
const QByteArray kDoubleCircle = "\x81\x9d";                                   // ◎
const QByteArray kTriangle = "\x81\xa2";                                       // △
const QByteArray kWave = "\x81\x60";                                           // ～
}  // namespace cp

// One title as the data file holds it.
struct Title {
    QByteArray name, director, actor, release, country, genre, rating;
    std::array<int, 7> scores{};
    std::array<QByteArray, 4> marks{};

    QByteArray record() const {
        auto quoted = [](const QByteArray& t) { return "\"" + t + "\""; };
        QByteArrayList fields;
        for (const QByteArray* t :
             {&name, &director, &actor, &release, &country, &genre, &rating}) {
            fields << quoted(*t);
        }
        for (int s : scores) fields << QByteArray::number(s);
        for (const QByteArray& m : marks) fields << quoted(m);
        return fields.join(',') + "\r\n";
    }
};

QByteArray File(const std::vector<Title>& titles) {
    QByteArray bytes;
    for (const Title& t : titles) bytes += t.record();
    return bytes;
}

std::vector<Title> Fixture() {
    return {
        {cp::kSevenSamurai,
         cp::kKurosawa,
         cp::kMifune,
         "1954/04",
         cp::kJapan,
         cp::kJidaigeki,
         cp::kCircle,
         {90, 8, 2, 3, 5, 1, 0},
         {cp::kCircle, "", "", ""}},
        {cp::kRoman,
         "Curtiz",
         cp::kPeck,
         "1953/08",
         cp::kAmerica,
         cp::kRomance,
         "",
         {},
         {"", cp::kCircle, "", cp::kCircle}},
        {cp::kAlien,
         "altman",
         cp::kSigourney,
         "1979/12",
         cp::kBritain,
         cp::kSF,
         cp::kTriangle,
         {75, 3, 0, 9, 2, 10, 1},
         {}},
    };
}

class FieldEditingTest : public WindowTest {
protected:
    void StartWithFixture() {
        WriteMasters();
        WriteFile(kData, File(Fixture()));
        Start();
        ASSERT_TRUE(loaded);
    }

    // Types the text into an empty field, as the keyboard (or an input method) would.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    }
    void Enter(const QString& combo, const QString& text) {
        QLineEdit* edit = Find<QComboBox>(combo)->lineEdit();
        Type(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void EnterRelease(const QString& text) {
        auto* edit = Find<QLineEdit>("txtNengetu");
        Type(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void Pick(const QString& combo, const QString& entry) {
        auto* c = Find<QComboBox>(combo);
        const int i = c->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void ShowTitle(int i) { Find<QScrollBar>("hsbData")->setValue(i); }
    QStringList Entries(const QString& combo) const {
        auto* c = Find<QComboBox>(combo);
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        return items;
    }
    QStringList Months() const {
        return {window->catalogue.cboKoukai.begin(), window->catalogue.cboKoukai.end()};
    }
    QStringList Years() const {
        return {window->catalogue.cboKoukai3.begin(), window->catalogue.cboKoukai3.end()};
    }
    int FilledBoxes(int item) const {
        int filled = 0;
        for (int b = 1; b <= 10; ++b) {
            auto* box = Find<QFrame>(QStringLiteral("shpHyouka%1_%2").arg(item).arg(b));
            if (box->palette().color(QPalette::Window) != QColor(Qt::white)) ++filled;
        }
        return filled;
    }
    QStringList VisibleFaces() const {
        QStringList faces;
        for (int k = 0; k < 4; ++k) {
            const QString name = QStringLiteral("imgFace1_%1").arg(k);
            if (!Find<QLabel>(name)->isHidden()) faces << name;
        }
        return faces;
    }
};

TEST_F(FieldEditingTest, EnterStoresTheTypedDirectorAtItsSortedPlaceAndBeeps) {
    StartWithFixture();
    auto titles = Fixture();
    ASSERT_EQ(Entries("cboKantoku"), (QStringList{"altman", "Curtiz", QStringLiteral("黒澤明")}));

    Enter("cboKantoku", "b");
    titles[0].director = "b";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Entries("cboKantoku"),
              (QStringList{"altman", "b", "Curtiz", QStringLiteral("黒澤明")}));
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), "b");
    EXPECT_EQ(fake->beeps, 1);

    // A value already in the list is saved and confirmed, but listed once.
    Enter("cboKantoku", "Curtiz");
    titles[0].director = "Curtiz";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Entries("cboKantoku").count(), 4);
    EXPECT_EQ(fake->beeps, 2);

    // An empty field stores nothing: a value cannot be emptied here.
    Enter("cboKantoku", "");
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(fake->beeps, 2);

    // Enter reaching the combo itself (it holds the focus) works the same.
    ShowTitle(3);
    auto* country = Find<QComboBox>("cboKuni");
    Type(country->lineEdit(), QStringLiteral("フランス"));
    QTest::keyClick(country, Qt::Key_Enter);
    titles[2].country = "\x83\x74\x83\x89\x83\x93\x83\x58";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Entries("cboKuni"),
              (QStringList{QStringLiteral("アメリカ"), QStringLiteral("フランス"),
                           QStringLiteral("日本"), QStringLiteral("英国")}));
    EXPECT_EQ(fake->beeps, 3);
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(FieldEditingTest, PickingAnEntrySavesAtOnceWithoutASound) {
    StartWithFixture();
    auto titles = Fixture();
    ShowTitle(2);
    Pick("cboSyuen", QStringLiteral("シガニー"));
    titles[1].actor = cp::kSigourney;
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Entries("cboSyuen").count(), 3);

    // The entry on show, picked again, rewrites the same data. (A file that
    // another program changed meanwhile is merged, not written over.)
    Pick("cboSyuen", QStringLiteral("シガニー"));
    EXPECT_EQ(ReadFile(kData), File(titles));

    EXPECT_EQ(fake->beeps, 0);
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(FieldEditingTest, EnterInTheReleaseFieldStoresTheDateAndItsMonthAndYear) {
    StartWithFixture();
    auto titles = Fixture();
    EnterRelease("2003/05/01");
    titles[0].release = "2003/05/01";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Months(), (QStringList{"1954/04", "1953/08", "1979/12", "2003/05"}));
    EXPECT_EQ(Years(), (QStringList{QStringLiteral("1954年"), QStringLiteral("1953年"),
                                    QStringLiteral("1979年"), QStringLiteral("2003年")}));
    EXPECT_EQ(fake->beeps, 1);

    ShowTitle(2);
    EnterRelease("2003/05/20");
    titles[1].release = "2003/05/20";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Months().count(), 4);
    EXPECT_EQ(Years().count(), 4);

    // The month key is the first seven characters, whatever they are.
    ShowTitle(3);
    EnterRelease("2003/5/1");
    titles[2].release = "2003/5/1";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Months().last(), "2003/5/");
    EXPECT_EQ(Years().count(), 4);
    EXPECT_EQ(fake->beeps, 3);

    fake->Answer();
    EnterRelease(QStringLiteral("昭和二十年"));
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text, QStringLiteral("日付の形式ではありません"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("日付入力違い"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(fake->dialogs[0].buttons, Platform::Buttons::Ok);
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Find<QLineEdit>("txtNengetu")->text(), QStringLiteral("昭和二十年"));
    EXPECT_EQ(fake->beeps, 3);
}

TEST_F(FieldEditingTest, WithNoTitlesOnlyTheDateWarningAppears) {
    WriteMasters();
    Start();
    ASSERT_TRUE(loaded);
    fake->Answer();
    EnterRelease("2003");
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text, QStringLiteral("日付の形式ではありません"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("日付入力違い"));

    EnterRelease("2003/05");
    for (const char* combo : {"cboKantoku", "cboSyuen", "cboKuni", "cboJanru"}) Enter(combo, "x");
    Pick("cboHyouka", QStringLiteral("◎"));
    Pick("cboHyouka1_1", "50");
    Find<QCheckBox>("chkSyoyu_1")->click();
    EXPECT_EQ(ReadFile(kData), QByteArray());
    EXPECT_EQ(fake->beeps, 0);
    EXPECT_EQ(fake->dialogs.size(), 1u);
}

TEST_F(FieldEditingTest, PickingTheThirdNameShowsTitleThree) {
    StartWithFixture();
    WriteFile(kData, "stale");
    auto* names = Find<QComboBox>("cboName");
    names->setCurrentIndex(2);
    emit names->activated(2);
    EXPECT_EQ(Find<QLabel>("lblKensu")->text(), "3 / 3");
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), "altman");
    EXPECT_EQ(Find<QLineEdit>("txtNengetu")->text(), "1979/12");
    EXPECT_EQ(ReadFile(kData), "stale");
}

TEST_F(FieldEditingTest, RatingScoresAndOwnershipAreSavedAsPicked) {
    StartWithFixture();
    auto titles = Fixture();
    EXPECT_EQ(VisibleFaces(), QStringList{"imgFace1_1"});
    Pick("cboHyouka", QStringLiteral("◎"));
    titles[0].rating = cp::kDoubleCircle;
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(VisibleFaces(), QStringList{"imgFace1_0"});

    EXPECT_EQ(FilledBoxes(1), 9);
    Pick("cboHyouka1_1", "100");
    titles[0].scores[0] = 100;
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(FilledBoxes(1), 10);
    EXPECT_EQ(Find<QFrame>("shpHyouka1_10")->palette().color(QPalette::Window),
              QColor(255, 128, 128));

    Pick("cboHyouka1_3", "10");
    titles[0].scores[2] = 10;
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(FilledBoxes(3), 10);

    auto* second = Find<QCheckBox>("chkSyoyu_2");
    second->click();
    titles[0].marks[1] = cp::kCircle;
    EXPECT_EQ(ReadFile(kData), File(titles));
    second->click();
    titles[0].marks[1] = "";
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(fake->beeps, 0);
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(FieldEditingTest, ShowingTitlesAndLeavingAFieldNeverSave) {
    StartWithFixture();
    WriteFile(kData, "stale");
    // Title 2 differs from title 1 in every mark, rating and score.
    ShowTitle(2);
    EXPECT_TRUE(Find<QCheckBox>("chkSyoyu_4")->isChecked());
    EXPECT_EQ(VisibleFaces(), QStringList{"imgFace1_3"});
    ShowTitle(3);
    ShowTitle(1);
    // Leaving a field whose typed text matches an entry is no pick.
    auto* director = Find<QComboBox>("cboKantoku");
    Type(director->lineEdit(), "Curtiz");
    emit director->lineEdit()->editingFinished();
    auto* names = Find<QComboBox>("cboName");
    Type(names->lineEdit(), QStringLiteral("エイリアン"));
    emit names->lineEdit()->editingFinished();
    EXPECT_EQ(Find<QLabel>("lblKensu")->text(), "1 / 3");
    EXPECT_EQ(ReadFile(kData), "stale");
    EXPECT_EQ(fake->beeps, 0);
}

TEST_F(FieldEditingTest, TextTheFileCannotHoldIsRefusedAndLookalikesAreStoredAsTheyReadBack) {
    StartWithFixture();
    auto titles = Fixture();
    fake->Answer();
    Enter("cboKantoku", "a\"b");
    fake->Answer();
    Enter("cboKuni", QString(QChar(0xD55C)));  // Hangul, outside CP932
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("次の文字はファイルに保存できないため使えません：「\"」"));
    EXPECT_EQ(fake->dialogs[1].text,
              QStringLiteral("次の文字はファイルに保存できないため使えません：「") + QChar(0xD55C) +
                  QStringLiteral("」"));
    for (const auto& d : fake->dialogs) {
        EXPECT_EQ(d.title, QStringLiteral("入力制限"));
        EXPECT_EQ(d.icon, Platform::Icon::Warning);
    }
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(Entries("cboKantoku").count(), 3);
    EXPECT_EQ(fake->beeps, 0);

    // The wave dash is written as the bytes that read back as the full-width tilde.
    Enter("cboJanru", QStringLiteral("時代劇") + QChar(0x301C));
    titles[0].genre = cp::kJidaigeki + cp::kWave;
    EXPECT_EQ(ReadFile(kData), File(titles));
    const QString stored = QStringLiteral("時代劇") + QChar(0xFF5E);
    EXPECT_TRUE(Entries("cboJanru").contains(stored));
    EXPECT_EQ(Find<QComboBox>("cboJanru")->currentText(), stored);
    EXPECT_EQ(fake->beeps, 1);
}

TEST_F(FieldEditingTest, AFailedSaveKeepsTheFileAndTheOldValues) {
    StartWithFixture();
    const QByteArray before = ReadFile(kData);
    {
        const FileSizeLimit limit(64);
        for (int k = 0; k < 5; ++k) fake->Answer();
        Enter("cboKantoku", "Bergman");
        EnterRelease("2003/05");
        Pick("cboHyouka", QStringLiteral("◎"));
        Pick("cboHyouka1_2", "10");
        Find<QCheckBox>("chkSyoyu_3")->click();
    }
    ASSERT_EQ(fake->dialogs.size(), 5u);
    for (const auto& d : fake->dialogs) {
        // The reason in brackets is the system's own words.
        EXPECT_TRUE(d.text.startsWith(QStringLiteral("ファイル「データ.TXT」：書き込めません（")))
            << d.text.toStdString();
        EXPECT_EQ(d.title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(d.icon, Platform::Icon::Critical);
    }
    EXPECT_EQ(ReadFile(kData), before);
    EXPECT_EQ(fake->beeps, 0);
    EXPECT_FALSE(Entries("cboKantoku").contains("Bergman"));
    EXPECT_EQ(Months().count(), 3);
    // The controls show what the file holds.
    EXPECT_EQ(VisibleFaces(), QStringList{"imgFace1_1"});
    EXPECT_EQ(FilledBoxes(2), 8);
    EXPECT_FALSE(Find<QCheckBox>("chkSyoyu_3")->isChecked());

    // Memory kept the old values: the next save writes them unchanged.
    auto titles = Fixture();
    Pick("cboHyouka1_7", "4");
    titles[0].scores[6] = 4;
    EXPECT_EQ(ReadFile(kData), File(titles));
}

// A value written but perhaps not yet safe on the disk stays: a later edit of
// another field writes it again, not the old one.
TEST_F(FieldEditingTest, AValueWrittenButNotYetSafeStaysForLaterEdits) {
    StartWithFixture();
    fake->Answer();
    {
        testsupport::FaultInjection faults({.folderSyncError = EIO});
        Pick("cboHyouka1_2", "10");
    }
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルの警告"));
    auto titles = Fixture();
    titles[0].scores[1] = 10;
    EXPECT_EQ(ReadFile(kData), File(titles));
    Pick("cboHyouka1_7", "4");
    titles[0].scores[6] = 4;
    EXPECT_EQ(ReadFile(kData), File(titles));
    EXPECT_EQ(FilledBoxes(2), 10);
}

}  // namespace
