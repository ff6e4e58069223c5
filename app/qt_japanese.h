#pragma once

#include <QString>

class QCoreApplication;

// Loads Qt's own Japanese texts (standard buttons, context menus, Qt's dialogs)
// into the application, whatever the system's language, from Qt's translations
// folder unless another folder is given. Without the file Qt keeps its English
// texts and the program works as before; returns whether the texts were loaded.
bool InstallQtJapanese(QCoreApplication& app, const QString& folder = QString());
