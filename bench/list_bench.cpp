// The three list screens on the worst-case catalogue, with the three side
// texts of every title: opening each, sorting a text column of the main list,
// and applying the main list's order to the catalogue.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"
#include "window/grid.h"

namespace {

// Made once for every benchmark of this file: writing the side texts takes
// longer than the runs. The window is left to the end of the process (it
// must not outlive the application object).
struct Lists {
    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain* window = nullptr;

    Lists() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        WriteWorstCaseSideTexts(dir.path());
        window = new frmMain(platform, dir.path());
        AttachScreens(*window);
        if (!window->Form_Load()) window = nullptr;
        QApplication::processEvents();
    }

    void Press(const char* name) {
        window->findChild<QPushButton*>(name)->click();
        QApplication::processEvents();
    }
    Grid* MainList() const { return window->findChild<Grid*>("msgIchiran"); }
};

Lists* Shared() {
    static Lists* lists = new Lists;
    return lists;
}

void OpenList(benchmark::State& state, const char* button) {
    Lists* lists = Shared();
    if (!lists->window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        lists->Press("cmdMain");
        state.ResumeTiming();
        lists->Press(button);
    }
}

}  // namespace

static void open_main_list(benchmark::State& state) {
    OpenList(state, "cmdIchiran");
}
BENCHMARK(open_main_list)->Unit(benchmark::kMillisecond);

static void open_evaluation_list(benchmark::State& state) {
    OpenList(state, "cmdIchiran2");
}
BENCHMARK(open_evaluation_list)->Unit(benchmark::kMillisecond);

static void open_ownership_list(benchmark::State& state) {
    OpenList(state, "cmdIchiran3");
}
BENCHMARK(open_ownership_list)->Unit(benchmark::kMillisecond);

// A click on the director column: every run is a whole sort, downwards and
// upwards in turn, and the view shown again.
static void sort_list_column(benchmark::State& state) {
    Lists* lists = Shared();
    if (!lists->window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    lists->Press("cmdMain");
    lists->Press("cmdIchiran");
    Grid* g = lists->MainList();
    for (auto _ : state) {
        g->SetCol(1);
        emit g->Click();
        QApplication::processEvents();
    }
}
BENCHMARK(sort_list_column)->Unit(benchmark::kMillisecond);

// The rewrite in the table's order, the reload and title 1 shown; the table
// is sorted anew (unmeasured) before each run so that the order changes.
static void apply_list_order(benchmark::State& state) {
    Lists* lists = Shared();
    if (!lists->window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    lists->Press("cmdMain");
    lists->Press("cmdIchiran");
    Grid* g = lists->MainList();
    for (auto _ : state) {
        state.PauseTiming();
        g->SetCol(2);
        emit g->Click();
        QApplication::processEvents();
        state.ResumeTiming();
        lists->Press("cmdSortCng1");
    }
    if (lists->window->catalogue.TitleCount != 32766) state.SkipWithError("titles lost");
}
BENCHMARK(apply_list_order)->Unit(benchmark::kMillisecond);
