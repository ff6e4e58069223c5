// The program's start-up as main.cpp runs it: prints the steady clock at the
// moment the window is ready and ends there, so that the caller can time the
// process from its start. The 1.5-second floor and the help-tour boxes are
// left out.
//   hoshi_startup_probe <working folder>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "screens/screens.h"
#include "window/frm_main.h"
#include "window/qt_platform.h"

namespace {

class NoWaitPlatform : public QtPlatform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons,
                      std::optional<Answer> defaultButton) override {
        return defaultButton.value_or(Answer::Ok);
    }
    void WaitMilliseconds(qint64) override {}
};

// The steady clock, which every process of the machine shares, in milliseconds.
double SteadyNow() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    if (argc < 2) return 2;
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    NoWaitPlatform platform;
    frmMain window(platform, QDir::currentPath());
    AttachScreens(window);
    if (!window.Form_Load()) return 1;
    QApplication::processEvents();
    std::printf("%.3f\n", SteadyNow());
    std::fflush(stdout);
    // The catalogue is not torn down: the figure ends at the ready window.
    std::_Exit(0);
    return 0;
}
