#include "screens/rankings/rank_screen.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "logic/charts.h"
#include "logic/rankings.h"
#include "store/marks.h"
#include "window/bar_chart.h"
#include "window/frm_main.h"
#include "window/ranking_grid.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();
const QString kMonths = QStringLiteral("公開年月");
const QString kYears = QStringLiteral("公開年");
const QString kGraph = QStringLiteral("グラフ");
const QString kChartWindowTitle = QStringLiteral("ランキング　グラフ");
// How many entries of each ranking the charts show.
constexpr int kTopEntries = 20;

enum Area { Directors, LeadActors, Release, Countries, Genres };

struct AreaText {
    const char* caption;  // objectName of the caption label
    QString captionText;  // the release caption is set on opening
    QString tab;          // the chart's tab (the release tab shows the caption)
    const char* grid;
    const char* options;
    QString labelHeader;
    std::array<QString, 3> optionCaptions;
};

const std::array<AreaText, 5>& Areas() {
    static const std::array<QString, 3> byName = {
        QStringLiteral("多い順"), QStringLiteral("少ない順"), QStringLiteral("名前順")};
    static const std::array<AreaText, 5> areas = {{
        {"Label3_2", QStringLiteral("監督　ランキング"), QStringLiteral("監督"), "msgMaster1",
         "optMaster1", QStringLiteral("監督名"), byName},
        {"Label3_3", QStringLiteral("主演　ランキング"), QStringLiteral("主演"), "msgMaster2",
         "optMaster2", QStringLiteral("主演名"), byName},
        {"lblKoukaiChg",
         kMonths,
         {},
         "msgMaster3",
         "optMaster3",
         QStringLiteral("公開"),
         {QStringLiteral("多い"), QStringLiteral("少ない"), QStringLiteral("年順")}},
        {"Label3_4", QStringLiteral("国　ランキング"), QStringLiteral("国"), "msgMaster4",
         "optMaster4", QStringLiteral("国名"), byName},
        {"Label3_5", QStringLiteral("ジャンル　ランキング"), QStringLiteral("ジャンル"),
         "msgMaster5", "optMaster5", QStringLiteral("ジャンル"), byName},
    }};
    return areas;
}

QString Help() {
    return QStringLiteral("監督や主演、国やジャンルなど作品数が多い順にランキング表示します。") +
           kCrLf + QStringLiteral("表示順は多い順、少ない順に並び替えることができます。") + kCrLf +
           kCrLf +
           QStringLiteral(
               "※公開年月は見出しをクリックする毎に公開年としての表示に切り替えできます。") +
           kCrLf;
}

constexpr int kGap = 6;
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 100;

}  // namespace

RankScreen::RankScreen(frmMain& window)
    : Screen(window, QStringLiteral("fraRank"), QStringLiteral("cmdRank")) {
    for (int a = 0; a < 5; ++a) {
        const AreaText& t = Areas()[a];
        RankingGrid::Layout layout;
        layout.labelHeader = t.labelHeader;
        if (a == Release) {
            layout.placeTwips = 500;
            layout.labelTwips = 1300;
            layout.labelAlignment = Grid::Alignment::Centre;
        } else {
            layout.labelTwips = 2585;
        }
        Frame6_[a] =
            new RankingArea({QStringLiteral("Frame6_%1").arg(a), t.caption, t.grid, t.options},
                            layout, t.optionCaptions, frame());
        Frame6_[a]->caption()->setText(t.captionText);
    }
    Frame6_[Release]->MakePeriodSwitch(kMonths, kYears, [this](RankingArea::Period period) {
        logic::Ranking r = period == RankingArea::Period::Years
                               ? logic::ReleaseYearRanking(w.catalogue)
                               : logic::ReleaseMonthRanking(w.catalogue);
        Frame6_[Release]->Show(std::move(r.labels), std::move(r.counts));
    });
    connect(Frame6_[Release], &RankingArea::captionClicked, this, &RankScreen::lblKoukaiChg_Click);

    // Directors and countries, lead actors and genres in two columns; the
    // release months, a long list, in a column of their own.
    const int height = (frame()->height() - 3 * kGap) / 2;
    const int wide =
        std::max({Frame6_[Directors]->NaturalWidth(), Frame6_[LeadActors]->NaturalWidth(),
                  Frame6_[Countries]->NaturalWidth(), Frame6_[Genres]->NaturalWidth()});
    const int release = Frame6_[Release]->NaturalWidth();
    const int left = (frame()->width() - (2 * wide + release + 2 * kGap)) / 2;
    const struct {
        Area area;
        int x, y, w, h;
    } places[] = {
        {Directors, left, kGap, wide, height},
        {LeadActors, left + wide + kGap, kGap, wide, height},
        {Countries, left, 2 * kGap + height, wide, height},
        {Genres, left + wide + kGap, 2 * kGap + height, wide, height},
        // The chart button goes under the release months.
        {Release, left + 2 * (wide + kGap), kGap, release, 2 * height - kButtonHeight},
    };
    for (const auto& p : places) {
        Frame6_[p.area]->move(p.x, p.y);
        Frame6_[p.area]->Arrange(p.w, p.h);
    }
    cmdGraphRank_ = new QPushButton(kGraph, frame());
    cmdGraphRank_->setObjectName("cmdGraphRank");
    cmdGraphRank_->setGeometry(left + 2 * (wide + kGap) + release - kButtonWidth,
                               2 * kGap + 2 * height - kButtonHeight, kButtonWidth, kButtonHeight);
    connect(cmdGraphRank_, &QPushButton::clicked, this, &RankScreen::cmdGraphRank_Click);
}

QString RankScreen::HelpText() const {
    return Help();
}

void RankScreen::Fill() {
    for (RankingArea* area : Frame6_) area->DeselectOptions();
    for (RankingArea* area : Frame6_) area->grid()->Setup();
    auto show = [this](Area a, logic::Ranking r) {
        Frame6_[a]->Show(std::move(r.labels), std::move(r.counts));
    };
    show(Directors, logic::DirectorRanking(w.catalogue));
    show(LeadActors, logic::LeadActorRanking(w.catalogue));
    Frame6_[Release]->ShowPeriod(RankingArea::Period::Months);
    show(Countries, logic::CountryRanking(w.catalogue));
    show(Genres, logic::GenreRanking(w.catalogue));
}

void RankScreen::lblKoukaiChg_Click() {
    Frame6_[Release]->SwitchPeriod();
    // An open chart follows the switch.
    if (chartWindow_ && chartWindow_->isVisible()) FillCharts();
}

void RankScreen::cmdGraphRank_Click() {
    if (!chartWindow_) {
        chartWindow_ = new ChartWindow(&w, QStringLiteral("frmGraphRank"), QSize(760, 560));
        chartWindow_->setWindowTitle(kChartWindowTitle);
        chartTabs_ = new QTabWidget(chartWindow_);
        chartTabs_->setObjectName("tabGraphRank");
        for (int a = 0; a < 5; ++a) {
            charts_[a] = new BarChart(BarChart::Orientation::Rows);
            charts_[a]->setObjectName(QStringLiteral("chtGraphRank_%1").arg(a));
            chartTabs_->addTab(charts_[a], Areas()[a].tab);
        }
        auto* layout = new QVBoxLayout(chartWindow_);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(chartTabs_);
    }
    FillCharts();
    chartWindow_->Present();
}

void RankScreen::FillCharts() {
    const bool years = Frame6_[Release]->period() == RankingArea::Period::Years;
    const logic::Ranking rankings[] = {
        logic::DirectorRanking(w.catalogue),
        logic::LeadActorRanking(w.catalogue),
        years ? logic::ReleaseYearRanking(w.catalogue) : logic::ReleaseMonthRanking(w.catalogue),
        logic::CountryRanking(w.catalogue),
        logic::GenreRanking(w.catalogue),
    };
    for (int a = 0; a < 5; ++a) {
        const QString name = a == Release ? (years ? kYears : kMonths) : Areas()[a].tab;
        if (a == Release) chartTabs_->setTabText(a, name);
        logic::Ranking top = logic::TopEntries(rankings[a], kTopEntries);
        charts_[a]->SetTitle(QStringLiteral("%1　上位%2件").arg(name).arg(kTopEntries));
        charts_[a]->SetBars(std::move(top.labels), std::move(top.counts));
    }
}
