#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "tests/support/window_fixture.h"
#include "window/bar_chart.h"

namespace {

// A title record with the director, release and country.
QByteArray Title(const QByteArray& name, const QByteArray& director, const QByteArray& release,
                 const QByteArray& country) {
    return "\"" + name + "\",\"" + director + "\",\"\",\"" + release + "\",\"" + country +
           "\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

QByteArray Viewing(const QByteArray& date, const QByteArray& title) {
    return "\"" + date + "\",\"" + title + "\",\"DVD\"\r\n";
}

class ChartsTest : public WindowTest {
protected:
    void StartWith(const QByteArray& titles, const QByteArray& history) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), titles);
        WriteFile(QStringLiteral("鑑賞履歴.TXT"), history);
        Start();
        ASSERT_TRUE(loaded);
        window->show();
    }
    void Click(const QString& button) { Find<QPushButton>(button)->click(); }
};

// The history chart shows a bar for every month from the first viewing to the
// last, follows the switch to years while open, and goes with the window.
TEST_F(ChartsTest, HistoryChartShowsEveryMonthAndFollowsTheSwitch) {
    StartWith(
        Title("T1", "A", "2001/05", "JP"),
        Viewing("2020/11/01", "T1") + Viewing("2020/11/20", "T1") + Viewing("2021/03/05", "T1"));
    window->button("cmdList")->click();
    EXPECT_EQ(Find<QPushButton>("cmdGraphList")->text(), QStringLiteral("グラフ"));
    Click("cmdGraphList");
    auto* chartWindow = Find<ChartWindow>("frmGraphList");
    ASSERT_NE(chartWindow, nullptr);
    EXPECT_TRUE(chartWindow->isVisible());
    EXPECT_TRUE(chartWindow->isWindow());
    auto* chart = Find<BarChart>("chtGraphList");
    EXPECT_EQ(chart->Counts(), (std::vector<int>{2, 0, 0, 0, 1}));
    EXPECT_EQ(chart->Labels().front(), QStringLiteral("2020年11月"));

    QTest::mouseClick(Find<QLabel>("lblKansyouChg"), Qt::LeftButton);
    EXPECT_EQ(chart->Labels(), (std::vector<QString>{"2020年", "2021年"}));
    EXPECT_EQ(chart->Counts(), (std::vector<int>{2, 1}));

    // Closed and opened again: the same window, shown again.
    chartWindow->close();
    Click("cmdGraphList");
    EXPECT_TRUE(chartWindow->isVisible());
    EXPECT_EQ(window->findChildren<ChartWindow*>().size(), 1);

    window->close();
    EXPECT_FALSE(chartWindow->isVisible());
}

// The ranking charts hold the twenty largest entries of each ranking, the
// release tab following the screen's year-month or year mode.
TEST_F(ChartsTest, RankingChartsShowTheTopTwentyOfEachRanking) {
    QByteArray titles;
    for (int i = 1; i <= 25; ++i) {
        const QByteArray n = QByteArray::number(i);
        titles += Title("T" + n, i <= 3 ? "A" : "B", i % 2 ? "2001/05" : "2002/01", "C" + n);
    }
    StartWith(titles, {});
    window->button("cmdRank")->click();
    QTest::mouseClick(Find<QLabel>("lblKoukaiChg"), Qt::LeftButton);
    Click("cmdGraphRank");
    ASSERT_TRUE(Find<ChartWindow>("frmGraphRank")->isVisible());
    const int bars[] = {2, 0, 2, 20, 0};
    for (int a = 0; a < 5; ++a) {
        EXPECT_EQ(Find<BarChart>(QStringLiteral("chtGraphRank_%1").arg(a))->BarCount(), bars[a])
            << a;
    }
    auto* directors = Find<BarChart>("chtGraphRank_0");
    EXPECT_EQ(directors->Labels(), (std::vector<QString>{"B", "A"}));
    EXPECT_EQ(directors->Counts(), (std::vector<int>{22, 3}));
    EXPECT_EQ(Find<BarChart>("chtGraphRank_2")->Labels(),
              (std::vector<QString>{"2001年", "2002年"}));
    EXPECT_EQ(Find<QTabWidget>("tabGraphRank")->tabText(2), QStringLiteral("公開年"));
}

}  // namespace
