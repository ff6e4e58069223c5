#include "tests/support/gui_app.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

QApplication* EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test writes the user's own thumbnails.
    static QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    app->setFont(QFont(QStringLiteral("IPAGothic"), 10));
    return app;
}
