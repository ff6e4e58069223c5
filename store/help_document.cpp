#include "store/help_document.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace store {

QString ChooseHelpDocument(const QString& folderCopy, const QString& installedCopy) {
    const QFileInfo mine(folderCopy);
    const QFileInfo installed(installedCopy);
    const bool haveMine = !folderCopy.isEmpty() && mine.isFile();
    if (installedCopy.isEmpty() || !installed.isFile()) return folderCopy;
    if (haveMine && mine.lastModified() > installed.lastModified()) return folderCopy;
    return installedCopy;
}

QString HelpDocumentPath(const WorkingFolder& folder, const QString& fileName) {
    const QString inFolder = folder.resolve(fileName).value_or(fileName);
    return ChooseHelpDocument(inFolder,
                              QStandardPaths::locate(QStandardPaths::AppDataLocation, fileName));
}

}  // namespace store
