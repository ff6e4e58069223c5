// The grid control at the catalogue's limit: 32766 titles of 10 columns.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <vector>

#include "window/grid.h"

namespace {

constexpr int kTitles = 32766;
constexpr int kCols = 10;

// Distinct texts per cell, held the way the catalogue holds its arrays.
const std::vector<std::vector<QString>>& Catalogue() {
    static const std::vector<std::vector<QString>> columns = [] {
        std::vector<std::vector<QString>> made(kCols, std::vector<QString>(kTitles + 1));
        for (int c = 0; c < kCols; ++c) {
            for (int t = 1; t <= kTitles; ++t) {
                made[c][t] = c < 2 ? QString("タイトル%1の%2").arg(t).arg(c)
                                   : QString::number((t * 7919 + c) % 101);
            }
        }
        return made;
    }();
    return columns;
}

// Fills the grid cell by cell, the way a list screen does.
void FillCatalogue(Grid& grid) {
    const auto& columns = Catalogue();
    grid.BeginFill();
    grid.Clear();
    grid.SetCols(kCols);
    grid.SetRows(kTitles + 1);
    grid.SetRow(0);
    for (int c = 0; c < kCols; ++c) {
        grid.SetColWidth(c, 1000);
        grid.SetCol(c);
        grid.SetText(QString("見出し%1").arg(c));
        grid.SetCellBackColor(QColor(255, 192, 192));
        grid.SetHeaderAlignment(c, Grid::Alignment::Centre);
    }
    for (int t = 1; t <= kTitles; ++t) {
        for (int c = 0; c < kCols; ++c) grid.SetTextMatrix(t, c, columns[c][t]);
    }
    grid.EndFill();
}

void grid_fill(benchmark::State& state) {
    Catalogue();
    Grid grid;
    grid.resize(800, 500);
    grid.show();
    QApplication::processEvents();
    for (auto _ : state) {
        // Each fill starts from a grid of only its header, so rows are made anew.
        state.PauseTiming();
        grid.SetRows(1);
        QApplication::processEvents();
        state.ResumeTiming();
        FillCatalogue(grid);
        // Lets the shown grid lay itself out and paint, as the screen does.
        QApplication::processEvents();
    }
}
BENCHMARK(grid_fill)->Unit(benchmark::kMillisecond);

void grid_sort(benchmark::State& state) {
    Grid grid;
    grid.resize(800, 500);
    grid.show();
    FillCatalogue(grid);
    QApplication::processEvents();
    bool down = false;
    for (auto _ : state) {
        grid.SetCol(0);
        grid.Sort(down ? Grid::SortTextAscending : Grid::SortTextDescending);
        grid.SetCol(3);
        grid.Sort(down ? Grid::SortNumberAscending : Grid::SortNumberDescending);
        down = !down;
        QApplication::processEvents();
    }
}
BENCHMARK(grid_sort)->Unit(benchmark::kMillisecond);

}  // namespace
