#pragma once

#include <QString>
#include <QStringList>

#include "store/side_files.h"
#include "store/working_folder.h"

namespace logic {

// The side files of one kind in the working folder ("キャスト_*.txt" and so on,
// letter case ignored), in ascending order of file name. Taken from the
// folder's cached listing, so it always includes what the program wrote.
QStringList SideFiles(const store::WorkingFolder& folder, store::SideText kind);

// The title a side file names: the file name without the kind's prefix and
// without its last four characters (".txt").
QString TitleOfSideFile(store::SideText kind, const QString& fileName);

}  // namespace logic
