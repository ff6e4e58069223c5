// The viewing history at its limit: 32766 viewings, every title and content
// distinct, spread over ninety years.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "history/history.h"
#include "store/catalogue.h"
#include "store/record_file.h"
#include "store/working_folder.h"

namespace {

// Writes a history of kMaxRecords viewings in ascending date order, none
// earlier than 1930/01/01.
void WriteFullHistory(const QString& folderPath) {
    store::RecordWriter writer(history::kHistoryFile);
    QDate day(1930, 1, 1);
    for (int i = 0; i < store::kMaxRecords; ++i) {
        if (i % 3 == 2) day = day.addDays(1);
        const QString n = QString::number(i);
        writer.WriteRecord(
            {store::Field::Text(day.toString(QStringLiteral("yyyy/MM/dd"))),
             store::Field::Text(QStringLiteral("星の旅路と遥かな銀河の物語 第%1章").arg(n)),
             store::Field::Text(QStringLiteral("映画館にて鑑賞 その%1").arg(n))});
    }
    QByteArray bytes;
    if (!writer.finish(bytes).isOk()) std::abort();
    QFile f(QDir(folderPath).filePath(history::kHistoryFile));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    return f.readAll();
}

}  // namespace

static void load_history(benchmark::State& state) {
    QTemporaryDir dir;
    WriteFullHistory(dir.path());
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
    WriteFullHistory(dir.path());
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
