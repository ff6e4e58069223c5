#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "tests/support/window_fixture.h"
#include "window/grid.h"
#include "window/picture_box.h"

namespace {

class DesktopTest : public WindowTest {
protected:
    void StartWith(int titles) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), sjis::Titles(titles));
        Start();
        ASSERT_TRUE(loaded);
        QApplication::setActiveWindow(window.get());
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
    QString Shown() const { return Find<QComboBox>("cboName")->currentText(); }
    bool Visible(const char* frame) const { return Find<QWidget>(frame)->isVisible(); }
    static void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(to, Qt::Key(key), mods);
    }
    // The visible controls the keyboard reaches that a screen reader finds no
    // name for.
    std::string Unnamed() const {
        QStringList unnamed;
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (!c->isVisible() || c->focusPolicy() == Qt::NoFocus) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) {
                unnamed << c->metaObject()->className() + QStringLiteral(" ") + c->objectName() +
                               QStringLiteral(" in ") + c->parentWidget()->objectName();
            }
        }
        return unnamed.join(", ").toStdString();
    }
    static std::string Name(QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).toStdString();
    }
};

// Return on a list row jumps, Return opens the viewing entry, the gallery
// moves by arrows and shows a title on Return, and the window's shortcuts
// press their buttons.
TEST_F(DesktopTest, TheKeyboardReachesRowsHistoryGalleryAndScreens) {
    StartWith(12);
    Press("cmdIchiran");
    auto* list = Find<Grid>("msgIchiran");
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Return);
    EXPECT_TRUE(Visible("fraMain"));
    EXPECT_EQ(Shown(), "T3");

    auto* history = Find<Grid>("msgKansyou");
    Key(history, Qt::Key_Space);
    EXPECT_TRUE(Visible("fraRirekiHozon"));
    Press("cmdYame1");
    Key(history, Qt::Key_Return);
    EXPECT_TRUE(Visible("fraRirekiHozon"));
    Press("cmdYame1");

    Press("cmdPic");
    auto* first = Find<PictureBox>("imgPIc_1");
    first->setFocus();
    Key(first, Qt::Key_Right);
    Key(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "imgPIc_7");
    Key(QApplication::focusWidget(), Qt::Key_Down);  // past the last title: stays
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "imgPIc_12");
    Key(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(Visible("fraMain"));
    EXPECT_EQ(Shown(), "T12");

    Key(window.get(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), "T11");
    auto* title = Find<QComboBox>("cboName");
    title->setFocus();
    Key(title, Qt::Key_PageUp);
    EXPECT_EQ(Shown(), "T10");
    history->setFocus();  // a scrolling view keeps its paging keys
    Key(history, Qt::Key_PageDown);
    EXPECT_EQ(Shown(), "T10");
    Key(window.get(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(Visible("fraPic"));
    EXPECT_EQ(window->button("cmdPic")->toolTip(), QStringLiteral("画像（Ctrl+2）"));
    EXPECT_TRUE(fake->dialogs.empty());
}

// Every control the keyboard reaches on every screen has a name; fields are
// named by their captions, not their values.
TEST_F(DesktopTest, EveryVisibleControlHasAnAccessibleName) {
    StartWith(3);
    EXPECT_EQ(Unnamed(), "") << "fraMain";
    EXPECT_EQ(Name(Find<QWidget>("cboName")), "タイトル");
    EXPECT_EQ(Name(Find<QWidget>("cboHyouka1_1")), "総合の点数");
    EXPECT_EQ(Name(Find<QWidget>("chkSyoyu_1")), "ＤＶＤを所有");
    EXPECT_EQ(Name(Find<QWidget>("chkHelp")), "ヘルプツアー");
    EXPECT_EQ(Name(Find<QWidget>("msgKansyou")), "鑑賞履歴");
    for (const char* page : {"cmdHyouji2", "cmdHyouji3", "cmdHyouji4"}) {
        Press(page);
        EXPECT_EQ(Unnamed(), "") << page;
    }
    Press("cmdHyouji1");
    QTest::mouseClick(Find<QWidget>("imgGazou"), Qt::LeftButton);
    EXPECT_EQ(Unnamed(), "") << "fraPicget";
    Find<QPushButton>("cmdYame")->click();
    Key(Find<QWidget>("msgKansyou"), Qt::Key_Return);
    EXPECT_EQ(Unnamed(), "") << "fraRirekiHozon";
    Press("cmdYame1");
    for (const char* screen : {"cmdPic", "cmdIchiran", "cmdIchiran2", "cmdIchiran3", "cmdRank",
                               "cmdList", "cmdKensaku", "cmdMaster"}) {
        Press(screen);
        EXPECT_EQ(Unnamed(), "") << screen;
    }
    Press("cmdPic");
    EXPECT_EQ(Name(Find<QWidget>("imgPIc_2")), "T2");
    EXPECT_EQ(Name(Find<QWidget>("cmdUp")), "次のページ");
    EXPECT_EQ(Name(Find<QWidget>("msgIchiran")), "一覧");
}

// A 300 x 450 poster in a 128 x 96 slot keeps its shape, centred.
TEST_F(DesktopTest, APosterKeepsItsProportionsInItsSlot) {
    StartWith(1);
    QImage poster(300, 450, QImage::Format_RGB32);
    poster.fill(Qt::red);
    ASSERT_TRUE(poster.save(Path("T1.jpg"), "JPG"));
    Press("cmdPic");
    auto* slot = Find<PictureBox>("imgPIc_1");
    EXPECT_EQ(slot->pixmap().size(), QSize(64, 96));
    EXPECT_EQ(slot->PictureRect(), QRect(32, 0, 64, 96));
}

}  // namespace
