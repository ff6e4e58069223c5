// The viewing history at its limit: the 32766 viewings of the worst case.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "bench/worst_case.h"
#include "history/history.h"
#include "store/catalogue.h"
#include "store/working_folder.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    return f.readAll();
}

}  // namespace

static void load_history(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    store::WorkingFolder folder(dir.path());
    history::History h;
    for (auto _ : state) {
        if (!h.LoadHistory(folder).isOk()) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(h.HistoryCount);
    }
}
BENCHMARK(load_history)->Unit(benchmark::kMillisecond);

// A viewing older than every record: the whole file rewritten, then reloaded.
static void insert_viewing_first(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    const QString file = QDir(dir.path()).filePath(history::kHistoryFile);
    // One record less than the limit, so that one more fits.
    QByteArray full = ReadAll(file);
    const QByteArray before = full.left(full.lastIndexOf("\r\n", full.size() - 3) + 2);
    store::WorkingFolder folder(dir.path());
    history::History h;
    for (auto _ : state) {
        state.PauseTiming();
        {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly) || f.write(before) != before.size()) std::abort();
        }
        if (!h.LoadHistory(folder).isOk()) state.SkipWithError("load failed");
        state.ResumeTiming();
        if (!h.RecordViewing(folder, QStringLiteral("1929/12/31"), QStringLiteral("星の旅"),
                             QStringLiteral("ビデオ"))
                 .isOk()) {
            state.SkipWithError("record failed");
        }
    }
}
BENCHMARK(insert_viewing_first)->Unit(benchmark::kMillisecond);
