// Bringing a CSV file of 32766 distinct titles in: the preview (read, map,
// count) and the commit into an empty catalogue, against save_titles and
// load_titles.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

#include "bench/worst_case.h"
#include "logic/csv_export.h"
#include "logic/csv_import.h"

namespace {

// The program's own captions, every field filled, every value distinct.
const QByteArray& ImportFile() {
    static const QByteArray bytes = [] {
        std::vector<QStringList> rows;
        rows.reserve(store::kMaxRecords + 1);
        rows.push_back({"タイトル", "監督", "主演", "公開日", "国", "ジャンル", "評", "総合",
                        "感動・涙", "笑い", "ほのぼの", "スリル", "恐怖戦慄", "セクシー", "ＤＶＤ",
                        "ブルーレイ", "ビデオ", "配信"});
        for (int i = 1; i <= store::kMaxRecords; ++i) {
            const QString n = QString::number(i);
            rows.push_back({WorstCaseTitle(i), QStringLiteral("監督") + n,
                            QStringLiteral("主演 ") + n,
                            QStringLiteral("%1-%2-15").arg(1900 + i % 120).arg(1 + i % 12),
                            QStringLiteral("国") + n, QStringLiteral("ジャンル, ") + n,
                            QStringLiteral("○"), QString::number(i % 101), QString::number(i % 11),
                            "3", "4", "5", "6", "7", "○", "1", "", "有"});
        }
        return logic::CsvBytes(rows);
    }();
    return bytes;
}

store::Masters BenchMasters() {
    store::Masters m;
    const QStringList scores = {"総合",   "感動・涙", "笑い",    "ほのぼの",
                                "スリル", "恐怖戦慄", "セクシー"};
    const QStringList owned = {"ＤＶＤ", "ブルーレイ", "ビデオ", "配信"};
    for (int k = 1; k <= 7; ++k) m.strHyoukaKoumoku[k] = scores[k - 1];
    for (int k = 1; k <= 4; ++k) m.strSyoyuKoumoku[k] = owned[k - 1];
    return m;
}

logic::ImportPlan Preview(const store::Catalogue& c, const history::History& h) {
    logic::CsvTable table;
    if (!logic::ReadCsv(ImportFile(), QStringLiteral("import.csv"), table)) {
        throw std::runtime_error("read failed");
    }
    // Both boxes checked and the cast column mapped (to 主演's), as a user leaves them.
    const logic::ImportMapping mapping = logic::PresetMapping(table.header, BenchMasters());
    if (!mapping.fullWidth || !mapping.yearSuffix || mapping.sideText[0] < 0) {
        throw std::runtime_error("mapping not as a user leaves it");
    }
    logic::ImportPlan plan = logic::PlanImport(table, mapping, c, h);
    if (plan.titles.size() != static_cast<size_t>(store::kMaxRecords)) {
        throw std::runtime_error("plan incomplete");
    }
    benchmark::DoNotOptimize(logic::ImportCountText(plan));
    return plan;
}

struct EmptyCatalogue {
    QTemporaryDir dir;
    store::WorkingFolder folder{dir.path()};
    store::Catalogue catalogue;
    history::History history;
    EmptyCatalogue() {
        if (!catalogue.LoadTitleData(folder) || !history.LoadHistory(folder)) {
            throw std::runtime_error("load failed");
        }
    }
};

}  // namespace

static void import_csv_preview(benchmark::State& state) {
    (void)ImportFile();  // made once, outside the measure
    EmptyCatalogue empty;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Preview(empty.catalogue, empty.history).titles.size());
    }
}
BENCHMARK(import_csv_preview)->Unit(benchmark::kMillisecond);

// The commit only: the backup, the data file written once. A fresh folder each
// time, made outside the measure.
static void import_csv_commit(benchmark::State& state) {
    auto empty = std::make_unique<EmptyCatalogue>();
    const logic::ImportPlan plan = Preview(empty->catalogue, empty->history);
    for (auto _ : state) {
        const logic::ImportOutcome done =
            logic::CommitImport(plan, empty->catalogue, empty->history, empty->folder,
                                QDateTime({2026, 12, 8}, {10, 30, 0}));
        if (!done.status) throw std::runtime_error("commit failed");
        state.PauseTiming();
        empty = std::make_unique<EmptyCatalogue>();
        state.ResumeTiming();
    }
}
BENCHMARK(import_csv_commit)->Unit(benchmark::kMillisecond);
