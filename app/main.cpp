#include <QApplication>
#include <QDir>
#include <QFont>

#include "app/qt_japanese.h"
#include "screens/screens.h"
#include "window/frm_main.h"
#include "window/qt_platform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Wayland compositors match the window to its launcher and icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.hoshinote"));
    InstallQtJapanese(app);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    QtPlatform platform;
    frmMain window(platform, QDir::currentPath());
    AttachScreens(window);
    QObject::connect(&window, &frmMain::endRequested, &app, [] { QApplication::exit(0); });
    if (!window.Form_Load()) return 1;
    return app.exec();
}
