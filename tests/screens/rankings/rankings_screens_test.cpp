#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/support/window_fixture.h"
#include "window/grid.h"

namespace {

// A title record with the director, lead actor and release.
QByteArray Title(const QByteArray& name, const QByteArray& director = {},
                 const QByteArray& actor = {}, const QByteArray& release = {}) {
    return "\"" + name + "\",\"" + director + "\",\"" + actor + "\",\"" + release +
           "\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

QByteArray Viewing(const QByteArray& date, const QByteArray& title, const QByteArray& content) {
    return "\"" + date + "\",\"" + title + "\",\"" + content + "\"\r\n";
}

using Rows = std::vector<QStringList>;

class RankingScreensTest : public WindowTest {
protected:
    void StartWith(const QByteArray& titles, const QByteArray& history = {},
                   bool helpTour = false) {
        WriteMasters(helpTour);
        WriteFile(QStringLiteral("データ.TXT"), titles);
        WriteFile(QStringLiteral("鑑賞履歴.TXT"), history);
        if (helpTour) {
            fake->Answer();
            fake->Answer();
        }
        Start();
        ASSERT_TRUE(loaded);
    }

    void Click(const QString& button) { window->button(button)->click(); }
    void Select(const QString& option) { Find<QRadioButton>(option)->click(); }
    void ClickLabel(const QString& name) { QTest::mouseClick(Find<QLabel>(name), Qt::LeftButton); }

    // Body rows of a grid: place, label, count.
    Rows Body(const QString& grid) const {
        const Grid* g = Find<Grid>(grid);
        Rows rows;
        for (int r = 1; r < g->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->Cols(); ++c) cells << g->TextMatrix(r, c);
            rows.push_back(cells);
        }
        return rows;
    }

    // Which of the area's three options are selected, as "100" and the like.
    QString Selected(const QString& prefix) const {
        QString s;
        for (int k = 1; k <= 3; ++k)
            s += Find<QRadioButton>(prefix + QString::number(k))->isChecked() ? u'1' : u'0';
        return s;
    }
};

// Directors A (3 titles), B, c and D (1 each), in the pick list's order A, B, c, D.
QByteArray FourDirectors() {
    return Title("T1", "B", "x") + Title("T2", "A", "y") + Title("T3", "c", "y") +
           Title("T4", "A") + Title("T5", "D") + Title("T6", "A");
}

TEST_F(RankingScreensTest, RankingOrdersMoveWholeRowsStablyAndRenumber) {
    StartWith(FourDirectors());
    Click("cmdRank");
    for (const char* area : {"optMaster1", "optMaster2", "optMaster3", "optMaster4", "optMaster5"})
        EXPECT_EQ(Selected(area), "100") << area;
    EXPECT_EQ(Body("msgMaster1"),
              (Rows{{"1", "A", "3"}, {"2", "B", "1"}, {"3", "c", "1"}, {"4", "D", "1"}}));

    Select("optMaster12");
    EXPECT_EQ(Selected("optMaster1"), "010");
    EXPECT_EQ(Body("msgMaster1"),
              (Rows{{"1", "B", "1"}, {"2", "c", "1"}, {"3", "D", "1"}, {"4", "A", "3"}}));

    // Binary order: capitals before small letters.
    Select("optMaster13");
    EXPECT_EQ(Body("msgMaster1"),
              (Rows{{"1", "A", "3"}, {"2", "B", "1"}, {"3", "D", "1"}, {"4", "c", "1"}}));

    // Equal counts keep the order they had.
    Select("optMaster11");
    EXPECT_EQ(Body("msgMaster1"),
              (Rows{{"1", "A", "3"}, {"2", "B", "1"}, {"3", "D", "1"}, {"4", "c", "1"}}));
    // The other rankings did not move.
    EXPECT_EQ(Body("msgMaster2"), (Rows{{"1", "y", "2"}, {"2", "x", "1"}}));
}

// Every opening starts by count, largest first, whichever option was left
// selected; while the screen is shown its button does nothing.
TEST_F(RankingScreensTest, RankingOpensByCountEveryTimeAndIgnoresItsButtonWhileShown) {
    StartWith(FourDirectors(), {}, true);
    fake->Answer();
    Click("cmdRank");
    const size_t boxes = fake->dialogs.size();
    Select("optMaster22");
    EXPECT_EQ(Body("msgMaster2"), (Rows{{"1", "x", "1"}, {"2", "y", "2"}}));
    Click("cmdRank");
    EXPECT_EQ(fake->dialogs.size(), boxes);
    EXPECT_EQ(Body("msgMaster2"), (Rows{{"1", "x", "1"}, {"2", "y", "2"}}));

    Select("optMaster23");
    Click("cmdMain");
    fake->Answer();
    Click("cmdRank");
    EXPECT_EQ(Selected("optMaster2"), "100");
    EXPECT_EQ(Body("msgMaster2"), (Rows{{"1", "y", "2"}, {"2", "x", "1"}}));

    // Option 1 still selected from the last opening must sort again too.
    Click("cmdMain");
    fake->Answer();
    Click("cmdRank");
    EXPECT_EQ(Body("msgMaster2"), (Rows{{"1", "y", "2"}, {"2", "x", "1"}}));
}

TEST_F(RankingScreensTest, ReleaseSwitchesBetweenMonthsAndYears) {
    StartWith(Title("T1", "", "", "2001/05") + Title("T2", "", "", "2003/02") +
              Title("T3", "", "", "2001/11") + Title("T4", "", "", "2003/02/10") +
              Title("T5", "", "", "2001/11/3"));
    Click("cmdRank");
    QLabel* label = Find<QLabel>("lblKoukaiChg");
    EXPECT_EQ(label->text(), QStringLiteral("公開年月"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("クリックすると年月と年を切り替えられます"));
    const Rows months = Body("msgMaster3");
    EXPECT_EQ(months, (Rows{{"1", QStringLiteral("2003年02月"), "2"},
                            {"2", QStringLiteral("2001年11月"), "2"},
                            {"3", QStringLiteral("2001年05月"), "1"}}));
    Select("optMaster33");
    EXPECT_EQ(Body("msgMaster3"), (Rows{{"1", QStringLiteral("2001年05月"), "1"},
                                        {"2", QStringLiteral("2001年11月"), "2"},
                                        {"3", QStringLiteral("2003年02月"), "2"}}));
    Select("optMaster13");

    ClickLabel("lblKoukaiChg");
    EXPECT_EQ(label->text(), QStringLiteral("公開年"));
    EXPECT_EQ(Selected("optMaster3"), "100");
    EXPECT_EQ(Body("msgMaster3"),
              (Rows{{"1", QStringLiteral("2001年"), "3"}, {"2", QStringLiteral("2003年"), "2"}}));
    EXPECT_EQ(Find<Grid>("msgMaster3")->TextMatrix(0, 1), QStringLiteral("公開"));
    // Only the release ranking is rebuilt.
    EXPECT_EQ(Selected("optMaster1"), "001");

    ClickLabel("lblKoukaiChg");
    EXPECT_EQ(label->text(), QStringLiteral("公開年月"));
    EXPECT_EQ(Body("msgMaster3"), months);
}

TEST_F(RankingScreensTest, EmptyCatalogueGivesHeadersOnly) {
    StartWith({});
    Click("cmdRank");
    for (const char* grid : {"msgMaster1", "msgMaster2", "msgMaster3", "msgMaster4", "msgMaster5"})
        EXPECT_EQ(Find<Grid>(grid)->Rows(), 1) << grid;
    Click("cmdList");
    for (const char* grid : {"msgMaster6", "msgMaster7", "msgMaster8", "msgHenList"})
        EXPECT_EQ(Find<Grid>(grid)->Rows(), 1) << grid;
}

QByteArray ThreeTitlesViewed() {
    return Title("Kept") + Title("Never") + Title("Twice") + Title("Also never");
}
QByteArray Viewings() {
    return Viewing("2003/12/31", "Twice", "DVD") + Viewing("2004/01/10", "Kept", "TV") +
           Viewing("2004/01/10", "Gone", "DVD") + Viewing("2004/01/20", "Twice", "TV") +
           Viewing("2004/01/21", "Gone", "DVD");
}

TEST_F(RankingScreensTest, HistoryRankingsFewestFirstPutsNeverViewedTitlesFirst) {
    StartWith(ThreeTitlesViewed(), Viewings());
    Click("cmdList");
    EXPECT_EQ(Body("msgMaster7"), (Rows{{"1", "Twice", "2"},
                                        {"2", "Kept", "1"},
                                        {"3", "Never", "0"},
                                        {"4", "Also never", "0"}}));
    Select("optMaster72");
    EXPECT_EQ(Body("msgMaster7"), (Rows{{"1", "Never", "0"},
                                        {"2", "Also never", "0"},
                                        {"3", "Kept", "1"},
                                        {"4", "Twice", "2"}}));
    Select("optMaster73");
    EXPECT_EQ(Body("msgMaster7")[0], (QStringList{"1", "Also never", "0"}));
    // The list shows every viewing, those of titles that are gone too.
    EXPECT_EQ(Body("msgHenList").size(), 5u);
    EXPECT_EQ(Body("msgHenList")[2], (QStringList{"3", "2004/01/10", "Gone", "DVD"}));
}

TEST_F(RankingScreensTest, ViewingMonthsSwitchToYearsAndBack) {
    StartWith(ThreeTitlesViewed(), Viewings(), true);
    fake->Answer();
    Click("cmdList");
    const size_t boxes = fake->dialogs.size();
    QLabel* label = Find<QLabel>("lblKansyouChg");
    const Rows months = Body("msgMaster6");
    EXPECT_EQ(months, (Rows{{"1", QStringLiteral("2004年01月"), "4"},
                            {"2", QStringLiteral("2003年12月"), "1"}}));
    Select("optMaster63");
    Select("optMaster82");

    ClickLabel("lblKansyouChg");
    EXPECT_EQ(label->text(), QStringLiteral("鑑賞年"));
    EXPECT_EQ(Selected("optMaster6"), "100");
    EXPECT_EQ(Body("msgMaster6"),
              (Rows{{"1", QStringLiteral("2004年"), "4"}, {"2", QStringLiteral("2003年"), "1"}}));
    ClickLabel("lblKansyouChg");
    EXPECT_EQ(label->text(), QStringLiteral("鑑賞年月"));
    EXPECT_EQ(Body("msgMaster6"), months);
    EXPECT_EQ(Selected("optMaster8"), "010");

    // Shown already: the button changes nothing.
    Click("cmdList");
    EXPECT_EQ(fake->dialogs.size(), boxes);
    EXPECT_EQ(Selected("optMaster8"), "010");
}

// The rankings are taken anew at each opening; the list follows every saved
// viewing at once.
TEST_F(RankingScreensTest, HistoryScreenSeesANewViewing) {
    StartWith(ThreeTitlesViewed(), Viewings());
    Click("cmdList");
    Click("cmdMain");
    Grid* titleHistory = Find<Grid>("msgKansyou");
    emit titleHistory->DblClick();
    QComboBox* content = Find<QComboBox>("cboKansyou");
    content->lineEdit()->setFocus();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("TV"));
    QApplication::sendEvent(content->lineEdit(), &typed);
    Find<QPushButton>("cmdRirekiHozon")->click();
    ASSERT_TRUE(fake->dialogs.empty());
    EXPECT_EQ(Body("msgHenList").back(), (QStringList{"6", "2026/12/08", "Kept", "TV"}));

    Click("cmdList");
    EXPECT_EQ(Body("msgMaster7")[0], (QStringList{"1", "Kept", "2"}));
    EXPECT_EQ(Body("msgMaster8"), (Rows{{"1", "DVD", "3"}, {"2", "TV", "3"}}));
    EXPECT_EQ(Body("msgMaster6")[2], (QStringList{"3", QStringLiteral("2026年12月"), "1"}));
}

}  // namespace
