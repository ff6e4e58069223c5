// The program's start-up as main.cpp runs it: prints the steady clock at the
// moment the window is ready and ends there, so that the caller can time the
// process from its start. The 1.5-second floor and the help-tour boxes are
// left out. With --qt-floor, Qt's own part alone: the application with the
// program's font (its metrics taken, which loads the font database) and Qt's
// Japanese translation, and no window.
//   hoshi_startup_probe <working folder>
//   hoshi_startup_probe --qt-floor
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/qt_japanese.h"
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

void PrintReady() {
    std::printf("%.3f\n", SteadyNow());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    InstallQtJapanese(app);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    if (argc < 2) return 2;
    if (QByteArray(argv[1]) == "--qt-floor") {
        (void)QFontMetrics(QApplication::font()).height();
        QApplication::processEvents();
        PrintReady();
        std::_Exit(0);
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    NoWaitPlatform platform;
    frmMain window(platform, QDir::currentPath());
    AttachScreens(window);
    if (!window.Form_Load()) return 1;
    QApplication::processEvents();
    PrintReady();
    // The catalogue is not torn down: the figure ends at the ready window.
    std::_Exit(0);
    return 0;
}
