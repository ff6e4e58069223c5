#include "window/platform.h"

#include <QDialog>

int Platform::ExecDialog(QDialog& dialog) {
    return dialog.exec();
}
