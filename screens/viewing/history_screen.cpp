#include "screens/viewing/history_screen.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

#include "logic/charts.h"
#include "logic/rankings.h"
#include "store/marks.h"
#include "window/accessible.h"
#include "window/bar_chart.h"
#include "window/frm_main.h"
#include "window/ranking_grid.h"
#include "window/twips.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();
const QString kMonths = QStringLiteral("鑑賞年月");
const QString kYears = QStringLiteral("鑑賞年");
const QString kGraph = QStringLiteral("グラフ");
const QString kChartWindowTitle = QStringLiteral("鑑賞グラフ");
const QString kMonthChartTitle = QStringLiteral("鑑賞年月ごとの鑑賞数");
const QString kYearChartTitle = QStringLiteral("鑑賞年ごとの鑑賞数");

enum Area { Months, Titles, Contents };

// The history's records as the list's rows, read from the history as they are
// shown: a copy of every record as texts would cost megabytes at the limit.
// Each reload of the history sets a new one.
class HistoryRows : public GridModel::BodySource {
public:
    explicit HistoryRows(const history::History& h) : h_(h), rows_(h.HistoryCount) {}

    int BodyRows() const override { return rows_; }

    QString BodyText(int row, int col) const override {
        if (row < 1 || row > h_.HistoryCount) return {};
        const auto g = static_cast<size_t>(row);
        switch (col) {
            case 0:
                return QString::number(row);
            case 1:
                return h_.strKansyoubi[g];
            case 2:
                return h_.strKansyouDaimei[g];
            case 3:
                return h_.strKansyouNaiyou[g];
            default:
                return {};
        }
    }

private:
    const history::History& h_;
    int rows_;
};

struct AreaText {
    const char* area;
    const char* caption;
    QString captionText;  // the month caption is set on opening
    const char* grid;
    const char* options;
    RankingGrid::Layout layout;
    std::array<QString, 3> optionCaptions;
};

const std::array<AreaText, 3>& Areas() {
    static const std::array<QString, 3> byName = {
        QStringLiteral("多い順"), QStringLiteral("少ない順"), QStringLiteral("名前順")};
    static const std::array<AreaText, 3> areas = {{
        {"Frame6_5",
         "lblKansyouChg",
         kMonths,
         "msgMaster6",
         "optMaster6",
         {QStringLiteral("鑑賞"), 500, 1300, 450, Grid::Alignment::Centre},
         {QStringLiteral("多い"), QStringLiteral("少ない"), QStringLiteral("年順")}},
        {"Frame6_6",
         "Label5",
         QStringLiteral("鑑賞タイトル　ランキング"),
         "msgMaster7",
         "optMaster7",
         {QStringLiteral("鑑賞タイトル"), 500, 3080, 450, Grid::Alignment::Left},
         byName},
        {"Frame6_7",
         "Label6",
         QStringLiteral("鑑賞内容　ランキング"),
         "msgMaster8",
         "optMaster8",
         {QStringLiteral("鑑賞内容"), 450, 1970, 450, Grid::Alignment::Left},
         byName},
    }};
    return areas;
}

struct HistoryColumn {
    QString header;
    int twips;
    Grid::Alignment alignment;
};

const std::array<HistoryColumn, 4>& HistoryColumns() {
    static const std::array<HistoryColumn, 4> columns = {{
        {QStringLiteral("回数"), 665, Grid::Alignment::Right},
        {QStringLiteral("日付"), 1450, Grid::Alignment::Centre},
        {QStringLiteral("タイトル"), 3450, Grid::Alignment::Left},
        {QStringLiteral("鑑賞内容"), 2185, Grid::Alignment::Left},
    }};
    return columns;
}

QString Help() {
    return QStringLiteral("映画の鑑賞履歴をリスト表示します。") + kCrLf + kCrLf +
           QStringLiteral("鑑賞回数のランキングと鑑賞内容のランキングが表示できます。") + kCrLf +
           kCrLf + QStringLiteral("鑑賞年月や公開年のランキング表示もしています。") + kCrLf +
           QStringLiteral("鑑賞年月の見出しをクリックするごとに鑑賞年と切り替わります。") + kCrLf +
           kCrLf;
}

// Axis texts of the month chart: every month of a short span, else the
// year at each January.
std::vector<QString> MonthTicks(const std::vector<QString>& labels) {
    std::vector<QString> ticks(labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
        if (labels.size() <= 24) {
            ticks[i] = labels[i];
        } else if (labels[i].mid(5, 2) == QStringLiteral("01")) {
            ticks[i] = labels[i].left(5);
        }
    }
    return ticks;
}

constexpr int kGap = 6;
constexpr int kButtonHeight = 26;
// The list scrolls to its newest records once it holds more than this.
constexpr int kRowsInView = 15;

}  // namespace

HistoryScreen::HistoryScreen(frmMain& window)
    : Screen(window, QStringLiteral("fraList"), QStringLiteral("cmdList")) {
    Frame1_0_ = new QGroupBox(QStringLiteral("鑑賞履歴"), frame());
    Frame1_0_->setObjectName("Frame1_0");
    msgHenList_ = new Grid(Frame1_0_);
    msgHenList_->setObjectName("msgHenList");
    NameControl(msgHenList_, QStringLiteral("鑑賞履歴"));
    SetupHistoryGrid();
    // Every load of the history, the start-up's and each saved viewing's.
    connect(&window, &frmMain::historyChanged, this, &HistoryScreen::FillHistoryList);

    for (int a = 0; a < 3; ++a) {
        const AreaText& t = Areas()[a];
        Frame6_[a] = new RankingArea({t.area, t.caption, t.grid, t.options}, t.layout,
                                     t.optionCaptions, frame());
        Frame6_[a]->caption()->setText(t.captionText);
    }
    Frame6_[Months]->MakePeriodSwitch(kMonths, kYears, [this](RankingArea::Period period) {
        logic::Ranking r = period == RankingArea::Period::Years
                               ? logic::ViewingYearRanking(w.history)
                               : logic::ViewingMonthRanking(w.history);
        Frame6_[Months]->Show(std::move(r.labels), std::move(r.counts));
    });
    connect(Frame6_[Months], &RankingArea::captionClicked, this,
            &HistoryScreen::lblKansyouChg_Click);

    // The list on the left at full height; the month and content rankings
    // side by side on the right, the title ranking below them.
    const int height = (frame()->height() - 3 * kGap) / 2;
    int listWidth = 2 * msgHenList_->frameWidth() +
                    msgHenList_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (const HistoryColumn& c : HistoryColumns()) listWidth += TwipsToPixels(c.twips);
    Frame1_0_->setGeometry(kGap, kGap - 2, listWidth + 16, 2 * height + kGap + 2);
    msgHenList_->setGeometry(8, 22, listWidth, Frame1_0_->height() - 38 - kButtonHeight);
    cmdGraphList_ = new QPushButton(kGraph, Frame1_0_);
    cmdGraphList_->setObjectName("cmdGraphList");
    cmdGraphList_->setGeometry(Frame1_0_->width() - 8 - 100,
                               Frame1_0_->height() - 8 - kButtonHeight, 100, kButtonHeight);
    connect(cmdGraphList_, &QPushButton::clicked, this, &HistoryScreen::cmdGraphList_Click);
    const int right = Frame1_0_->geometry().right() + 1 + kGap;
    const int months = Frame6_[Months]->NaturalWidth();
    const int rest = frame()->width() - right - kGap;
    Frame6_[Months]->move(right, kGap);
    Frame6_[Months]->Arrange(months, height);
    Frame6_[Contents]->move(right + months + kGap, kGap);
    Frame6_[Contents]->Arrange(rest - months - kGap, height);
    Frame6_[Titles]->move(right, 2 * kGap + height);
    Frame6_[Titles]->Arrange(rest, height);
}

QString HistoryScreen::HelpText() const {
    return Help();
}

void HistoryScreen::SetupHistoryGrid() {
    Grid& g = *msgHenList_;
    g.SetRows(1);
    g.SetCols(4);
    for (int c = 0; c < 4; ++c) {
        const HistoryColumn& column = HistoryColumns()[c];
        g.SetColWidth(c, column.twips);
        g.SetColAlignment(c, column.alignment);
        g.SetHeaderAlignment(c, Grid::Alignment::Centre);
        g.SetTextMatrix(0, c, column.header);
    }
}

void HistoryScreen::FillHistoryList() {
    SetupHistoryGrid();
    msgHenList_->SetBodySource(std::make_shared<HistoryRows>(w.history));
    if (msgHenList_->Rows() > kRowsInView) msgHenList_->SetTopRow(msgHenList_->Rows() - 1);
}

void HistoryScreen::Fill() {
    for (RankingArea* area : Frame6_) area->DeselectOptions();
    for (RankingArea* area : Frame6_) area->grid()->Setup();
    Frame6_[Months]->ShowPeriod(RankingArea::Period::Months);
    logic::Ranking titles = logic::ViewedTitleRanking(w.history, w.catalogue);
    Frame6_[Titles]->Show(std::move(titles.labels), std::move(titles.counts));
    logic::Ranking contents = logic::ViewingContentRanking(w.history);
    Frame6_[Contents]->Show(std::move(contents.labels), std::move(contents.counts));
}

void HistoryScreen::lblKansyouChg_Click() {
    Frame6_[Months]->SwitchPeriod();
    // An open chart follows the switch.
    if (chartWindow_ && chartWindow_->isVisible()) FillChart();
}

void HistoryScreen::cmdGraphList_Click() {
    if (!chartWindow_) {
        chartWindow_ = new ChartWindow(&w, QStringLiteral("frmGraphList"), QSize(900, 480));
        chartWindow_->setWindowTitle(kChartWindowTitle);
        chart_ = new BarChart(BarChart::Orientation::Columns, chartWindow_);
        chart_->setObjectName("chtGraphList");
        auto* layout = new QVBoxLayout(chartWindow_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(chart_);
    }
    FillChart();
    chartWindow_->Present();
}

void HistoryScreen::FillChart() {
    if (Frame6_[Months]->period() == RankingArea::Period::Years) {
        logic::Ranking r = logic::ViewingYearSeries(w.history);
        chart_->SetTitle(kYearChartTitle);
        std::vector<QString> ticks = r.labels;
        chart_->SetBars(std::move(r.labels), std::move(r.counts), std::move(ticks));
    } else {
        logic::Ranking r = logic::ViewingMonthSeries(w.history);
        chart_->SetTitle(kMonthChartTitle);
        std::vector<QString> ticks = MonthTicks(r.labels);
        chart_->SetBars(std::move(r.labels), std::move(r.counts), std::move(ticks));
    }
}
