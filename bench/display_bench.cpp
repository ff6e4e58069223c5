// Moving the title scroll bar to another title on the worst-case catalogue and
// history: one whole redraw of the main screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

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

// Removed at the end of the process.
QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// Made once for every run of the benchmark: writing the side files of the
// worst case takes longer than the runs themselves. The window is left to the
// end of the process (it must not outlive the application object).
struct Screen {
    QTemporaryDir& dir = Folder();
    QuietPlatform platform;
    frmMain* window = nullptr;
    QScrollBar* hsbData = nullptr;
    int target = 0, away = 0;

    Screen() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        WriteWorstCaseSideTexts(dir.path());
        window = new frmMain(platform, dir.path());
        AttachScreens(*window);
        if (!window->Form_Load() || window->catalogue.TitleCount < 2) return;
        hsbData = window->findChild<QScrollBar*>("hsbData");
        target = BusiestTitle(*window);
        away = target == 1 ? 2 : 1;
        // The busiest title has a picture too.
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        picture.save(dir.filePath(WorstCaseTitle(target) + QStringLiteral(".jpg")));
        QApplication::processEvents();
    }
};

}  // namespace

static void show_title(benchmark::State& state) {
    static Screen* screen = new Screen;
    if (!screen->hsbData) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        screen->hsbData->setValue(screen->away);
        state.ResumeTiming();
        screen->hsbData->setValue(screen->target);
    }
}
BENCHMARK(show_title)->Unit(benchmark::kMillisecond);
