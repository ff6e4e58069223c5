// Enter in the director field on the worst-case catalogue: a new director goes
// into the pick list and the whole data file is rewritten.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Answers every box with its default and never waits.
class OkPlatform : public Platform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons,
                      std::optional<Answer> d) override {
        return d.value_or(Answer::Ok);
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return {};
    }
    void Beep() override { ++beeps; }
    void SetWaitPointer(bool) override {}
    void ProcessPendingEvents() override {}
    qint64 ElapsedMilliseconds() override { return 0; }
    void WaitMilliseconds(qint64) override {}
    QDate Today() override { return QDate(2026, 12, 8); }
    void ShowHelp(const QString&, QWidget*) override {}
    void CloseHelp() override {}

    int beeps = 0;
};

}  // namespace

static void commit_field(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    OkPlatform platform;
    frmMain window(platform, dir.path());
    AttachScreens(window);
    if (!window.Form_Load()) {
        state.SkipWithError("the worst case did not load");
        return;
    }
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
BENCHMARK(commit_field)->Unit(benchmark::kMillisecond);
