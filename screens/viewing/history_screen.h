#pragma once

#include <array>

#include "window/screen.h"

class BarChart;
class ChartWindow;
class Grid;
class QGroupBox;
class QPushButton;
class RankingArea;

// The history screen: every viewing in file order, and viewings per month
// (or year), per title and per kind of viewing.
class HistoryScreen : public Screen {
    Q_OBJECT
public:
    explicit HistoryScreen(frmMain& window);

    // Switches the month ranking between months and years.
    void lblKansyouChg_Click();
    // Opens (or raises) the chart of the viewings per month or per year.
    void cmdGraphList_Click();

protected:
    void Fill() override;
    QString HelpText() const override;

private:
    // The history list down to its header row, its columns laid out.
    void SetupHistoryGrid();
    // Refills the history list from the history in memory.
    void FillHistoryList();
    // Fills the chart window with the viewings per month or year.
    void FillChart();

    QGroupBox* Frame1_0_ = nullptr;
    Grid* msgHenList_ = nullptr;
    // 0 months, 1 titles, 2 contents (Frame6_5..Frame6_7).
    std::array<RankingArea*, 3> Frame6_{};
    QPushButton* cmdGraphList_ = nullptr;
    ChartWindow* chartWindow_ = nullptr;  // made on first use
    BarChart* chart_ = nullptr;
};
