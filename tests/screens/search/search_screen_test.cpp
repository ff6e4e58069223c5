#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "tests/support/window_fixture.h"

namespace {

// A title with a director and a release month.
QByteArray Title(const QByteArray& name, const QByteArray& director, const QByteArray& release) {
    return "\"" + name + "\",\"" + director + "\",,\"" + release +
           "\",,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}

class SearchScreenTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        WriteMasters();
        WriteFile(
            QStringLiteral("データ.TXT"),
            Title("T1", "Zed", "2003/05") + Title("T2", "Abe", "2001/02") + Title("T3", "Zed", ""));
        WriteFile(QStringLiteral("鑑賞履歴.TXT"), "\"2002/01/01\",\"T3\",\"TV\"\r\n");
        Start();
        ASSERT_TRUE(loaded);
    }

    void Open() { window->button("cmdKensaku")->click(); }
    // Chooses entry `row` of a combo as a user does.
    void Choose(const char* combo, int row) {
        auto* c = Find<QComboBox>(combo);
        c->setCurrentIndex(row);
        emit c->activated(row);
    }
    QStringList Entries(QComboBox* c) const {
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items += c->itemText(i);
        return items;
    }
    QStringList Results() const {
        QStringList names;
        auto* list = Find<QListView>("lstDaimei");
        for (int r = 0; r < list->model()->rowCount(); ++r)
            names += list->model()->index(r, 0).data().toString();
        return names;
    }
    QString Count() const { return Find<QGroupBox>("fraKensu")->title(); }
    void DoubleClickResult(int row) {
        auto* list = Find<QListView>("lstDaimei");
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualRect(list->currentIndex()).center());
    }
};

TEST_F(SearchScreenTest, OpeningCopiesTheListsAndTheOwnershipNames) {
    EXPECT_EQ(Count(), QStringLiteral("検索件数"));
    Open();
    EXPECT_TRUE(window->frame("fraKensaku")->isVisible());
    EXPECT_FALSE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(Entries(Find<QComboBox>("cboKantoku2")), QStringList({"Abe", "Zed"}));
    // The range combos are sorted; the release list is in order of appearance.
    EXPECT_EQ(Entries(Find<QComboBox>("cboKoukai2_0")), QStringList({"2001/02", "2003/05"}));
    EXPECT_EQ(Entries(Find<QComboBox>("cboKoukai2_1")), Entries(Find<QComboBox>("cboKoukai2_0")));
    EXPECT_EQ(Entries(Find<QComboBox>("cboKansyou2_0")), QStringList({"2002/01"}));
    EXPECT_EQ(Entries(Find<QComboBox>("cboKansyou3")), QStringList({"TV"}));
    EXPECT_EQ(Find<QListWidget>("lstHyouka")->count(), 4);
    EXPECT_EQ(Find<QListWidget>("lstSyoyu_3")->item(1)->text(), QStringLiteral("無し"));
    EXPECT_EQ(Find<QLabel>("lblSyoyu_2")->text(), QStringLiteral("ブルーレイ"));

    window->masters.strSyoyuKoumoku[2] = QStringLiteral("ＵＨＤ");
    window->ItemMastersRenamed();
    EXPECT_EQ(Find<QLabel>("lblSyoyu_2")->text(), QStringLiteral("ＵＨＤ"));
}

TEST_F(SearchScreenTest, ChoicesSearchTheCountFollowsAndResultsStayAcrossVisits) {
    Open();
    // Typing into a combo searches nothing; choosing an entry does.
    QTest::keyClicks(Find<QComboBox>("cboKantoku2"), "Zed");
    EXPECT_TRUE(Results().isEmpty());
    Choose("cboKantoku2", 1);
    EXPECT_EQ(Results(), QStringList({"T1", "T3"}));
    EXPECT_EQ(Count(), QStringLiteral("検索件数　2件"));

    // Enter in an empty word box changes nothing; with a word it searches.
    auto* name = Find<QLineEdit>("txtNamae");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Results(), QStringList({"T1", "T3"}));
    QTest::keyClicks(name, "2");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Results(), QStringList({"T2"}));
    EXPECT_EQ(Count(), QStringLiteral("検索件数　1件"));

    // The same list entry chosen twice searches twice.
    auto* rating = Find<QListWidget>("lstHyouka");
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(rating->viewport(), Qt::LeftButton, {},
                          rating->visualItemRect(rating->item(3)).center());
        EXPECT_EQ(Count(), QStringLiteral("検索件数　3件"));
        Choose("cboKantoku2", 0);
        EXPECT_EQ(Count(), QStringLiteral("検索件数　1件"));
    }

    // Pressing the button while shown does nothing; leaving and coming back
    // keeps the results, the count and the words.
    Find<QComboBox>("cboKuni2")->setEditText("typed");
    Open();
    EXPECT_EQ(Find<QComboBox>("cboKuni2")->currentText(), "typed");
    window->button("cmdMain")->click();
    Open();
    EXPECT_EQ(Results(), QStringList({"T2"}));
    EXPECT_EQ(Count(), QStringLiteral("検索件数　1件"));
    EXPECT_EQ(name->text(), "2");
    EXPECT_EQ(Find<QComboBox>("cboKuni2")->currentText(), "");
}

TEST_F(SearchScreenTest, DoubleClickJumpsToTheTitleAndANameThatIsNoTitleKeepsTheJump) {
    Open();
    // Before anything was picked, a double-click only shows the main screen.
    QTest::mouseDClick(Find<QListView>("lstDaimei")->viewport(), Qt::LeftButton);
    EXPECT_TRUE(window->frame("fraMain")->isVisible());
    EXPECT_EQ(window->JumpTitle, 0);
    EXPECT_EQ(Find<QScrollBar>("hsbData")->value(), 1);

    Open();
    Choose("cboKantoku2", 1);
    DoubleClickResult(1);
    EXPECT_TRUE(window->frame("fraMain")->isVisible());
    EXPECT_TRUE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(window->JumpTitle, 3);
    EXPECT_EQ(Find<QComboBox>("cboName")->currentText(), "T3");

    // A viewing of a title that is gone lists a name that is no title.
    WriteFile(QStringLiteral("鑑賞履歴.TXT"), "\"2002/01/01\",\"gone\",\"TV\"\r\n");
    ASSERT_TRUE(window->LoadHistory());
    Open();
    Choose("cboKansyou3", 0);
    ASSERT_EQ(Results(), QStringList({"gone"}));
    Find<QScrollBar>("hsbData")->setValue(1);
    DoubleClickResult(0);
    EXPECT_EQ(window->JumpTitle, 3);
    EXPECT_EQ(Find<QComboBox>("cboName")->currentText(), "T3");
}

}  // namespace
