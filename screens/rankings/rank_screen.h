#pragma once

#include <array>

#include "window/screen.h"

class BarChart;
class ChartWindow;
class QPushButton;
class QTabWidget;
class RankingArea;

// The ranking screen: how many titles share each director, lead actor,
// release year-month (or year), country and genre.
class RankScreen : public Screen {
    Q_OBJECT
public:
    explicit RankScreen(frmMain& window);

    // Switches the release ranking between year-months and years.
    void lblKoukaiChg_Click();
    // Opens (or raises) the charts of the top entries of the five rankings.
    void cmdGraphRank_Click();

protected:
    void Fill() override;
    QString HelpText() const override;

private:
    // Fills the chart window with the top entries of each ranking.
    void FillCharts();

    // 0 directors, 1 lead actors, 2 release, 3 countries, 4 genres.
    std::array<RankingArea*, 5> Frame6_{};
    QPushButton* cmdGraphRank_ = nullptr;
    ChartWindow* chartWindow_ = nullptr;  // made on first use
    QTabWidget* chartTabs_ = nullptr;
    std::array<BarChart*, 5> charts_{};  // in the order of the areas
};
