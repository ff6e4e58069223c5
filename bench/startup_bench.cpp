// From the window's making to the window ready, on the worst-case catalogue and
// history; the start-up's 1.5-second floor is left out.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Answers every box at once and does not wait.
class QuietPlatform : public Platform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons, std::optional<Answer> d) override {
        return d.value_or(Answer::Ok);
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return {}; }
    void Beep() override {}
    void SetWaitPointer(bool) override {}
    void ProcessPendingEvents() override { QApplication::processEvents(); }
    qint64 ElapsedMilliseconds() override { return 0; }
    void WaitMilliseconds(qint64) override {}
    QDate Today() override { return QDate(2026, 12, 8); }
    void ShowHelp(const QString&, QWidget*) override {}
    void CloseHelp() override {}
};

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
