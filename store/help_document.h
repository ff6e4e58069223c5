#pragma once

#include <QString>

#include "store/working_folder.h"

namespace store {

// The help document to open: the working folder's copy when it is there and
// newer than the installed one, else the installed one, found among the
// program's data folders ($XDG_DATA_DIRS/hoshinote, so that any install
// prefix works), else the folder's copy or, with neither, the name in the
// folder (the viewer then says it is missing).
QString HelpDocumentPath(const WorkingFolder& folder, const QString& fileName);

// The same choice between two paths, either of which may be empty or name no
// file.
QString ChooseHelpDocument(const QString& folderCopy, const QString& installedCopy);

}  // namespace store
