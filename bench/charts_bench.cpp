// The chart windows on large inputs: 32766 viewings over 30 years, and the
// worst case's 32766 distinct values in every ranking.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/bar_chart.h"
#include "window/frm_main.h"

namespace {

constexpr int kViewings = 32766;

// 32766 viewings from 1995/01/01 to 2024/12/31, about three a day (plain
// ASCII, which reads the same in CP932).
void WriteThirtyYears(const QString& folderPath) {
    const QDate first(1995, 1, 1);
    const qint64 days = first.daysTo(QDate(2024, 12, 31)) + 1;
    QByteArray bytes;
    bytes.reserve(kViewings * 40);
    for (int v = 0; v < kViewings; ++v) {
        const QDate d = first.addDays(static_cast<qint64>(v) * days / kViewings);
        bytes += "\"" + d.toString(QStringLiteral("yyyy/MM/dd")).toLatin1() + "\",\"T" +
                 QByteArray::number(v % 500) + "\",\"DVD\"\r\n";
    }
    QFile f(folderPath + QStringLiteral("/鑑賞履歴.TXT"));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

struct Program {
    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain* window = nullptr;

    Program() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        WriteThirtyYears(dir.path());
        auto* w = new frmMain(platform, dir.path());
        AttachScreens(*w);
        if (w->Form_Load()) window = w;
        QApplication::processEvents();
    }

    void Click(const char* name) { window->findChild<QPushButton*>(name)->click(); }
};

Program* TheProgram(benchmark::State& state) {
    static Program* program = new Program;
    if (!program->window) state.SkipWithError("the worst case did not load");
    return program->window ? program : nullptr;
}

// Opens the chart button on the shown screen: counted, filled and drawn.
void OpenChart(benchmark::State& state, const char* screen, const char* button,
               const char* chartWindow) {
    Program* p = TheProgram(state);
    if (!p) return;
    p->Click(screen);
    for (auto _ : state) {
        state.PauseTiming();
        if (auto* c = p->window->findChild<ChartWindow*>(chartWindow)) c->hide();
        QApplication::processEvents();
        state.ResumeTiming();
        p->Click(button);
        p->window->findChild<ChartWindow*>(chartWindow)->repaint();
    }
}

}  // namespace

static void open_viewing_chart(benchmark::State& state) {
    OpenChart(state, "cmdList", "cmdGraphList", "frmGraphList");
}
BENCHMARK(open_viewing_chart)->Unit(benchmark::kMillisecond);

static void open_ranking_chart(benchmark::State& state) {
    OpenChart(state, "cmdRank", "cmdGraphRank", "frmGraphRank");
}
BENCHMARK(open_ranking_chart)->Unit(benchmark::kMillisecond);
