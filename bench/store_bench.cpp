// Figures of the catalogue store at the record limit: load_titles and
// save_titles against the floor read_decode (the data file's bytes read and
// decoded, nothing else).
#include <benchmark/benchmark.h>

#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
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

// The first load of a run: a new, empty catalogue each time (no storage to
// reuse). Destroying the one loaded before is no part of a first load, so it
// is left out of the measure.
static void load_titles_fresh(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    auto c = std::make_unique<store::Catalogue>();
    for (auto _ : state) {
        if (!c->LoadTitleData(folder) || c->TitleCount != store::kMaxRecords) {
            throw std::runtime_error("load failed");
        }
        benchmark::DoNotOptimize(c->TitleCount);
        state.PauseTiming();
        c = std::make_unique<store::Catalogue>();
        state.ResumeTiming();
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

// The same list by the library's means alone, for comparison with the store's
// own sort: std::stable_sort with QString::compare ignoring case, then the
// first of each exact value kept.
static void sort_pick_list_library(benchmark::State& state) {
    store::WorkingFolder folder(WorstCaseFolder());
    store::Catalogue c;
    if (!c.LoadTitleData(folder)) throw std::runtime_error("load failed");
    const std::vector<QString> directors(c.strKantoku.begin() + 1, c.strKantoku.end());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QString> values = directors;
        state.ResumeTiming();
        std::stable_sort(values.begin(), values.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        QSet<QString> seen;
        seen.reserve(qsizetype(values.size()));
        std::vector<QString> distinct;
        for (QString& v : values) {
            if (!seen.contains(v)) {
                seen.insert(v);
                distinct.push_back(std::move(v));
            }
        }
        benchmark::DoNotOptimize(distinct.size());
    }
}
BENCHMARK(sort_pick_list_library)->Unit(benchmark::kMillisecond);
