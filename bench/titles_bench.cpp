// Adding and deleting a title on the worst-case catalogue: the write, the
// reload and the redraw of the main screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// The worst case with the window on it; the data file's bytes are kept so
// that each round starts from the same catalogue.
class Bench {
public:
    explicit Bench(benchmark::State& state, bool roomForOneMore) : window(platform, dir.path()) {
        WriteWorstCase(dir.path());
        AttachScreens(window);
        if (!window.Form_Load()) {
            state.SkipWithError("the worst case did not load");
            return;
        }
        // Adding needs a free place below the record limit.
        if (roomForOneMore && window.catalogue.TitleCount >= store::kMaxRecords) {
            if (!window.catalogue.SaveTitleDataWithout(window.folder,
                                                       window.catalogue.TitleCount) ||
                !window.ReloadTitles()) {
                state.SkipWithError("could not make room for one title");
                return;
            }
        }
        QFile f(window.folder.resolve(store::kDataFile).value_or(QString()));
        if (f.open(QIODevice::ReadOnly)) data = f.readAll();
        ok = !data.isEmpty();
        if (!ok) state.SkipWithError("no data file");
    }

    // Puts the data file back and shows title 1.
    void Restore() {
        QFile f(window.folder.resolve(store::kDataFile).value_or(QString()));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
            ok = false;
        f.close();
        if (!window.ReloadTitles()) ok = false;
        window.titleScreen()->SetTitleNumber(1);
        window.titleScreen()->ShowTitle();
    }

    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain window;
    QByteArray data;
    bool ok = false;
};

void add_title(benchmark::State& state) {
    Bench b(state, true);
    if (!b.ok) return;
    const int before = b.window.catalogue.TitleCount;
    for (auto _ : state) {
        b.window.button("cmdNew")->click();
        state.PauseTiming();
        if (b.window.catalogue.TitleCount != before + 1)
            state.SkipWithError("the title was not added");
        b.Restore();
        state.ResumeTiming();
    }
}
BENCHMARK(add_title)->Unit(benchmark::kMillisecond);

void delete_title(benchmark::State& state) {
    Bench b(state, false);
    if (!b.ok) return;
    const int before = b.window.catalogue.TitleCount;
    b.Restore();
    for (auto _ : state) {
        b.window.button("cmdDel")->click();
        state.PauseTiming();
        if (b.window.catalogue.TitleCount != before - 1)
            state.SkipWithError("the title was not deleted");
        b.Restore();
        state.ResumeTiming();
    }
}
BENCHMARK(delete_title)->Unit(benchmark::kMillisecond);

}  // namespace
