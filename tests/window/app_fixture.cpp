#include "tests/window/app_fixture.h"

#include <QApplication>

QApplication* EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // QApplication keeps references to these for its whole life.
        static int argc = 1;
        static char name[] = "window_tests";
        static char* argv[] = {name, nullptr};
        // Lives until the process ends; destroying it after the tests gains nothing.
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}
