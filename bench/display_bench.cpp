// Moving the title scroll bar to another title on the worst-case catalogue and
// history: one whole redraw of the main screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QScrollBar>
#include <QTemporaryDir>

#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Answers every box with Ok and does not wait.
class OkPlatform : public Platform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons,
                      std::optional<Answer>) override {
        return Answer::Ok;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString& d) override {
        return d;
    }
    void Beep() override {}
    void SetWaitPointer(bool) override {}
    void ProcessPendingEvents() override {}
    qint64 ElapsedMilliseconds() override { return 0; }
    void WaitMilliseconds(qint64) override {}
    QDate Today() override { return QDate(2026, 12, 8); }
    void ShowHelp(const QString&, QWidget*) override {}
    void CloseHelp() override {}
};

// The title with the most viewings: the longest history grid to fill.
int BusiestTitle(const frmMain& window) {
    QHash<QString, int> viewings;
    for (int g = 1; g <= window.history.HistoryCount; ++g)
        ++viewings[window.history.strKansyouDaimei[g]];
    int busiest = window.catalogue.TitleCount;
    int most = -1;
    for (int i = 1; i <= window.catalogue.TitleCount; ++i) {
        const int n = viewings.value(window.catalogue.strDaimei[i]);
        if (n > most) {
            most = n;
            busiest = i;
        }
    }
    return busiest;
}

}  // namespace

static void show_title(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    OkPlatform platform;
    frmMain window(platform, dir.path());
    AttachScreens(window);
    if (!window.Form_Load() || window.catalogue.TitleCount < 2) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    auto* hsbData = window.findChild<QScrollBar*>("hsbData");
    const int target = BusiestTitle(window);
    const int away = target == 1 ? 2 : 1;
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        hsbData->setValue(away);
        state.ResumeTiming();
        hsbData->setValue(target);
    }
}
BENCHMARK(show_title)->Unit(benchmark::kMillisecond);
