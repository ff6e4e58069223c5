// Enter in the director field on the worst-case catalogue: a new director goes
// into the pick list and the whole data file is rewritten.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {}  // namespace

// checked: before the write, the data file is compared with what was loaded
// (one stat), as the program does; else the write goes without a look.
static void commitField(benchmark::State& state, bool checked) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    QuietPlatform platform;
    frmMain window(platform, dir.path());
    AttachScreens(window);
    if (!window.Form_Load()) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    if (!checked) window.folder.keepTrackOf({});
    auto* director = window.findChild<QComboBox*>("cboKantoku");
    QLineEdit* edit = director->lineEdit();
    int n = 0;
    for (auto _ : state) {
        // A director never seen before, so that the list grows each time.
        edit->setText(QStringLiteral("新しい監督%1").arg(++n));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
    }
    if (platform.beeps != n) state.SkipWithError("a commit did not complete");
}

static void commit_field(benchmark::State& state) {
    commitField(state, false);
}
BENCHMARK(commit_field)->Unit(benchmark::kMillisecond);

static void commit_field_checked(benchmark::State& state) {
    commitField(state, true);
}
BENCHMARK(commit_field_checked)->Unit(benchmark::kMillisecond);
