// The master screen on the worst case: opening it (every title into the
// display-order list), one drag in that list, applying the list's order, and
// the new start over every title with a picture and three side texts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/masters/master_screen.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Yes to the new start's question.
class YesPlatform : public QuietPlatform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons buttons,
                      std::optional<Answer> d) override {
        return buttons == Buttons::YesNo ? Answer::Yes : d.value_or(Answer::Ok);
    }
};

class Bench {
public:
    explicit Bench(benchmark::State& state) : window(platform, dir.path()) {
        WriteWorstCase(dir.path());
        AttachScreens(window);
        ok = window.Form_Load() && window.catalogue.TitleCount == store::kMaxRecords;
        if (!ok) state.SkipWithError("the worst case did not load");
        screen = window.findChild<MasterScreen*>();
    }

    QTemporaryDir dir;
    YesPlatform platform;
    frmMain window;
    MasterScreen* screen = nullptr;
    bool ok = false;
};

void open_masters(benchmark::State& state) {
    Bench b(state);
    if (!b.ok) return;
    for (auto _ : state) b.window.button("cmdMaster")->click();
    if (b.window.findChild<QListView*>("lstBicho")->model()->rowCount() != store::kMaxRecords)
        state.SkipWithError("the list is not full");
}
BENCHMARK(open_masters)->Unit(benchmark::kMillisecond);

// The first title dropped on the last and back, the farthest moves there are.
void drag_display_order(benchmark::State& state) {
    Bench b(state);
    if (!b.ok) return;
    b.window.button("cmdMaster")->click();
    const int last = store::kMaxRecords - 1;
    bool down = true;
    for (auto _ : state) {
        b.screen->lstBicho_MouseDown(down ? 0 : last - 1);
        b.screen->lstBicho_MouseUp(down ? last : 0);
        QApplication::processEvents();
        down = !down;
    }
}
BENCHMARK(drag_display_order)->Unit(benchmark::kMillisecond);

void apply_display_order(benchmark::State& state) {
    Bench b(state);
    if (!b.ok) return;
    b.window.button("cmdMaster")->click();
    for (auto _ : state) {
        state.PauseTiming();
        b.screen->lstBicho_MouseDown(0);
        b.screen->lstBicho_MouseUp(store::kMaxRecords - 1);
        QApplication::processEvents();  // the drag's own relayout is not applying
        const QString second = b.window.catalogue.strDaimei[2];
        state.ResumeTiming();
        b.window.findChild<QPushButton*>("cmdSortCng2")->click();
        state.PauseTiming();
        if (b.window.catalogue.strDaimei[1] != second) state.SkipWithError("not applied");
        state.ResumeTiming();
    }
}
BENCHMARK(apply_display_order)->Unit(benchmark::kMillisecond);

void new_start(benchmark::State& state) {
    Bench b(state);
    if (!b.ok) return;
    const QString path = b.dir.path();
    for (auto _ : state) {
        state.PauseTiming();
        WriteWorstCase(path);
        WriteWorstCaseSideTexts(path);
        for (int i = 1; i <= store::kMaxRecords; ++i) {
            QFile f(path + QLatin1Char('/') + WorstCaseTitle(i) + QStringLiteral(".jpg"));
            if (!f.open(QIODevice::WriteOnly) || f.write("\xff\xd8\xff\xd9", 4) != 4) {
                state.SkipWithError("cannot write a picture");
                return;
            }
        }
        state.ResumeTiming();
        b.window.findChild<QPushButton*>("cmdSinki")->click();
        state.PauseTiming();
        if (QFile::exists(path + QLatin1Char('/') + WorstCaseTitle(1) + QStringLiteral(".jpg")))
            state.SkipWithError("the pictures are still there");
        state.ResumeTiming();
    }
}
BENCHMARK(new_start)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
