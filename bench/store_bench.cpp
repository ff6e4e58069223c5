// Figures of the catalogue store at the record limit: load_titles and
// save_titles against the floor read_decode (the data file's bytes read and
// decoded, nothing else).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <stdexcept>

#include "bench/worst_case.h"
#include "store/catalogue.h"
#include "store/cp932.h"
#include "store/working_folder.h"

namespace {

const QString& WorstCaseFolder() {
    static QTemporaryDir dir;
    static const bool written = [] {
        WriteWorstCase(dir.path());
        return true;
    }();
    (void)written;
    static const QString path = dir.path();
    return path;
}

}  // namespace

static void read_decode(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    for (auto _ : state) {
        QByteArray bytes;
        if (!folder.read(store::kDataFile, bytes)) throw std::runtime_error("read failed");
        auto text = cp932::decode(bytes);
        if (!text) throw std::runtime_error("decode failed");
        benchmark::DoNotOptimize(text->size());
    }
}
BENCHMARK(read_decode)->Unit(benchmark::kMillisecond);

static void load_titles(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    // One catalogue reloaded again and again, as the window holds one and
    // reloads it after every structural change.
    store::Catalogue c;
    for (auto _ : state) {
        if (!c.LoadTitleData(folder) || c.TitleCount != store::kMaxRecords) {
            throw std::runtime_error("load failed");
        }
        benchmark::DoNotOptimize(c.TitleCount);
    }
}
BENCHMARK(load_titles)->Unit(benchmark::kMillisecond);

// The first load of a run: a new catalogue each time, the previous one
// destroyed inside the measured loop (no storage to reuse).
static void load_titles_fresh(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    for (auto _ : state) {
        store::Catalogue c;
        if (!c.LoadTitleData(folder) || c.TitleCount != store::kMaxRecords) {
            throw std::runtime_error("load failed");
        }
        benchmark::DoNotOptimize(c.TitleCount);
    }
}
BENCHMARK(load_titles_fresh)->Unit(benchmark::kMillisecond);

static void save_titles(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    store::Catalogue c;
    if (!c.LoadTitleData(folder)) throw std::runtime_error("load failed");
    for (auto _ : state) {
        if (!c.SaveTitleData(folder)) throw std::runtime_error("save failed");
    }
}
BENCHMARK(save_titles)->Unit(benchmark::kMillisecond);

// The sort of one pick list at the limit: the 32766 distinct directors of the
// worst case, put in order and made distinct as a load does.
static void sort_pick_list(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    store::Catalogue c;
    if (!c.LoadTitleData(folder)) throw std::runtime_error("load failed");
    const std::vector<QString> directors(c.strKantoku.begin() + 1, c.strKantoku.end());
    store::SortedPickList list;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QString> values = directors;
        state.ResumeTiming();
        list.assignDistinct(std::move(values));
        benchmark::DoNotOptimize(list.items().size());
    }
}
BENCHMARK(sort_pick_list)->Unit(benchmark::kMillisecond);
