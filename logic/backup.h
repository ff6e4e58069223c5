#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

// The safety copies made before the catalogue's files are cleared or
// rewritten by an import: a folder inside the working folder named after the
// moment.
namespace logic {

// Hears how far a long step is: files done out of the total. The backup
// stops when it answers false; the clearing cannot be stopped.
using Progress = std::function<bool(int done, int total)>;

// The folder a backup made at the given moment goes to:
// "バックアップ_YYYYMMDD_HHMMSS".
QString BackupFolderName(const QDateTime& when);

struct BackupResult {
    store::Status status;
    QString folderName;      // inside the working folder; empty when it failed
    bool cancelled = false;  // stopped through the progress: no folder left
};

// Every backup is built in a temporary folder of the store's own and named
// only once its files and the folder are on the disk: a crash or a full disk
// never leaves half of one under a backup's name (the next start takes the
// temporary away). The name is the moment's, with "_2", "_3", ... when that
// one is taken; earlier backups are never touched. Missing files are passed
// over. On a failure nothing of the backup is left, unless only the last sync
// of the working folder failed: the whole backup then stays under its name.

// Backs up every file a new start empties or deletes, and the masters and the
// settings: the data file, the history, the two masters, the settings, the
// text file and the pictures of every title, every cast, synopsis and memo
// text. The files that stay in the folder after a clearing are copied; the
// others are kept as second names of the same files where the file system
// allows. Stopped through the progress, nothing is left.
BackupResult BackUpBeforeClearing(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                                  const QDateTime& when, const Progress& progress = {});

// Backs up the two files an import rewrites: copies of the data file and the
// history.
BackupResult BackUpDataAndHistory(store::WorkingFolder& folder, const QDateTime& when);

}  // namespace logic
