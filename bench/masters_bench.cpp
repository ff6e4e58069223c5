// The master screen on the worst case: opening it (every title into the
// display-order list), one drag in that list, applying the list's order, and
// the new start over every title with a picture and three side texts, and the
// bare system calls that new start cannot do without.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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

// Yes to the new start's question, and a clock that runs, so that the new
// start shows and paints its progress as it does for a user.
class YesPlatform : public QuietPlatform {
public:
    YesPlatform() { clock.start(); }
    qint64 ElapsedMilliseconds() override { return clock.elapsed(); }
    QElapsedTimer clock;
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

// The file system's own part of the new start, on the same folder and files:
// a second name in a backup folder for each of the 131,064 files of the titles,
// then each deleted from the working folder; names prepared beforehand, calls
// relative to the open folders. Nothing the program adds (listing, names,
// the program's own files, syncs, progress) is in it.
void fs_floor_new_start(benchmark::State& state) {
    Bench b(state);
    if (!b.ok) return;
    const QString path = b.dir.path();
    const QStringList own = {QStringLiteral("データ.TXT"), QStringLiteral("鑑賞履歴.TXT"),
                             QStringLiteral("評価マスタ.txt"), QStringLiteral("所有マスタ.txt"),
                             QStringLiteral("設定.TXT")};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteWorstCaseSideTexts(path);
        std::vector<QByteArray> names;
        for (int i = 1; i <= store::kMaxRecords; ++i) {
            QFile f(path + QLatin1Char('/') + WorstCaseTitle(i) + QStringLiteral(".jpg"));
            if (!f.open(QIODevice::WriteOnly) || f.write("\xff\xd8\xff\xd9", 4) != 4) {
                state.SkipWithError("cannot write a picture");
                return;
            }
        }
        for (const QString& name : QDir(path).entryList(QDir::Files)) {
            if (!own.contains(name)) names.push_back(QFile::encodeName(name));
        }
        const QString backup = QStringLiteral("floor_%1").arg(++round);
        if (names.size() != size_t(4 * store::kMaxRecords) || !QDir(path).mkdir(backup)) {
            state.SkipWithError("not the files of the new start");
            return;
        }
        const int from = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
        const int to = ::open(QFile::encodeName(path + QLatin1Char('/') + backup).constData(),
                              O_RDONLY | O_DIRECTORY);
        state.ResumeTiming();
        bool ok = true;
        for (const QByteArray& n : names)
            ok &= ::linkat(from, n.constData(), to, n.constData(), 0) == 0;
        for (const QByteArray& n : names) ok &= ::unlinkat(from, n.constData(), 0) == 0;
        state.PauseTiming();
        ::close(from);
        ::close(to);
        if (!ok) state.SkipWithError("a call failed");
        QDir(path + QLatin1Char('/') + backup).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(fs_floor_new_start)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
