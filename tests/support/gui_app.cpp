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
    // Nor the user's configuration; and TMDB is never reached: a test that
    // looks films up names its own local server.
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("HOSHINOTE_TMDB_API", "http://127.0.0.1:9/3");
    qputenv("HOSHINOTE_TMDB_IMAGES", "http://127.0.0.1:9/t/p");
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    app->setFont(QFont(QStringLiteral("IPAGothic"), 10));
    return app;
}
