#include <QApplication>
#include <QDir>
#include <QFont>

#include "app/qt_japanese.h"
#include "app/single_instance.h"
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
    // One window per catalogue folder: a second start brings the first to the
    // front. Claimed before the folder is opened, which tidies its leftovers.
    frmMain* shown = nullptr;
    SingleInstance one(QDir::currentPath(), [&shown] {
        if (shown) shown->Raise();
    });
    switch (one.claim()) {
        case SingleInstance::Claim::First:
            break;
        case SingleInstance::Claim::HandedOver:
            return 0;
        case SingleInstance::Claim::Unanswered:
            static_cast<Platform&>(platform).MessageBox(
                QStringLiteral("このフォルダーのカタログは、ほかのウィンドウで開かれています。"),
                QStringLiteral("ホシノートＷ"), Platform::Icon::Warning);
            return 1;
    }
    frmMain window(platform, QDir::currentPath());
    shown = &window;
    AttachScreens(window);
    QObject::connect(&window, &frmMain::endRequested, &app, [] { QApplication::exit(0); });
    if (!window.Form_Load()) return 1;
    return app.exec();
}
