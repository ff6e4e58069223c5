// From the window's making to the window ready, on the worst-case catalogue and
// history; the start-up's 1.5-second floor is left out.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

void startup(benchmark::State& state) {
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
BENCHMARK(startup)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
