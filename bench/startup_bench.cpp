// Start-up on the worst-case catalogue and history, the 1.5-second floor left
// out: `startup` from the start of a process of the program to its window
// ready; `startup_qt_floor` the same for Qt's own start alone (the font and
// the translation, no window); `startup_window` the window's own part, in this
// process.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

double SteadyNow() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Times a process of the probe from its start to the moment it prints.
void RunProbe(benchmark::State& state, const QString& argument) {
    for (auto _ : state) {
        QProcess probe;
        probe.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        const double started = SteadyNow();
        probe.start(QStringLiteral(HOSHI_STARTUP_PROBE), {argument});
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        const double ready = probe.readAllStandardOutput().trimmed().toDouble();
        state.SetIterationTime((ready - started) / 1000.0);
    }
}

void startup(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    RunProbe(state, dir.path());
}
BENCHMARK(startup)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void startup_qt_floor(benchmark::State& state) {
    RunProbe(state, QStringLiteral("--qt-floor"));
}
BENCHMARK(startup_qt_floor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void startup_window(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    QuietPlatform platform;
    for (auto _ : state) {
        frmMain window(platform, dir.path());
        AttachScreens(window);
        if (!window.Form_Load()) state.SkipWithError("the worst case did not load");
        QApplication::processEvents();
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}
BENCHMARK(startup_window)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
