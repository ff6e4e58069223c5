// The ranking and history screens on the worst case: 32766 distinct values in
// every field, 32766 viewings.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Made once for every benchmark of this file; left to the end of the process
// (it must not outlive the application object).
struct Program {
    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain* window = nullptr;

    Program() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        auto* w = new frmMain(platform, dir.path());
        AttachScreens(*w);
        if (w->Form_Load()) window = w;
        QApplication::processEvents();
    }

    void Click(const char* name) { window->button(name)->click(); }
    template <class T>
    T* Find(const char* name) const {
        return window->findChild<T*>(name);
    }
    // A left click on a label, as a user gives it.
    void ClickLabel(const char* name) {
        QLabel* label = Find<QLabel>(name);
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &press);
        QApplication::sendEvent(label, &release);
    }
};

Program* TheProgram(benchmark::State& state) {
    static Program* program = new Program;
    if (!program->window) state.SkipWithError("the worst case did not load");
    return program->window ? program : nullptr;
}

}  // namespace

// Five rankings built and sorted, the screen drawn.
static void open_rankings(benchmark::State& state) {
    Program* p = TheProgram(state);
    if (!p) return;
    for (auto _ : state) {
        state.PauseTiming();
        p->Click("cmdMain");
        state.ResumeTiming();
        p->Click("cmdRank");
    }
}
BENCHMARK(open_rankings)->Unit(benchmark::kMillisecond);

static void flip_release_years(benchmark::State& state) {
    Program* p = TheProgram(state);
    if (!p) return;
    QLabel* label = p->Find<QLabel>("lblKoukaiChg");
    for (auto _ : state) {
        state.PauseTiming();
        p->Click("cmdRank");
        if (label->text() != QStringLiteral("公開年月")) p->ClickLabel("lblKoukaiChg");
        QApplication::processEvents();
        state.ResumeTiming();
        p->ClickLabel("lblKoukaiChg");
        QApplication::processEvents();
    }
}
BENCHMARK(flip_release_years)->Unit(benchmark::kMillisecond);

// One option of the director ranking (32766 rows), each of the three in turn.
static void sort_ranking(benchmark::State& state) {
    Program* p = TheProgram(state);
    if (!p) return;
    p->Click("cmdRank");
    const char* options[] = {"optMaster12", "optMaster13", "optMaster11"};
    int next = 0;
    for (auto _ : state) {
        p->Find<QRadioButton>(options[next])->click();
        QApplication::processEvents();
        next = (next + 1) % 3;
    }
}
BENCHMARK(sort_ranking)->Unit(benchmark::kMillisecond);

// The list and three rankings, the screen drawn.
static void open_history_screen(benchmark::State& state) {
    Program* p = TheProgram(state);
    if (!p) return;
    for (auto _ : state) {
        state.PauseTiming();
        p->Click("cmdMain");
        state.ResumeTiming();
        p->Click("cmdList");
    }
}
BENCHMARK(open_history_screen)->Unit(benchmark::kMillisecond);
