#include "tests/support/gui_app.h"

#include <QApplication>
#include <QFont>

void EnsureGuiApplication() {
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    app->setFont(QFont(QStringLiteral("IPAGothic"), 10));
}
