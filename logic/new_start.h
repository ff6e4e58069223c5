#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// A title's name + ".txt" can spell a file the program keeps for something
// else (a title "評価マスタ" and the evaluation master, a title "メモ_X" and
// the memo of X); such a file is not the title's and stays when it goes.
bool IsKeptForSomethingElse(const QString& fileName);

// Hears how far a long step is: files done out of the total. The backup
// stops when it answers false; the clearing cannot be stopped.
using Progress = std::function<bool(int done, int total)>;

// How far a clearing got. It stops at the first file it cannot empty; then
// `dataEmptied` tells whether the data file is empty already, so that the
// catalogue in memory can follow it.
struct ClearResult {
    store::Status status;
    bool dataEmptied = false;
    // Files that could not be deleted (the others went); a missing file is
    // not one of them.
    QStringList undeleted;
};

// The new start: empties "データ.TXT" and then "鑑賞履歴.TXT"; deletes the
// text file and the pictures of every title of the catalogue, then every cast,
// synopsis and memo text of the folder. The masters and the settings stay, as
// does any program file a title's name happens to spell. A file that cannot be
// deleted does not stop it and is named in `undeleted`; only a file that cannot
// be emptied stops it.
ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                             const Progress& progress = {});

// The narrower clearing: empties "データ.TXT" and deletes the files of every
// title; the history and the side texts stay.
ClearResult ClearTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                        const Progress& progress = {});

// The folder a backup made at the given moment goes to:
// "バックアップ_YYYYMMDD_HHMMSS".
QString BackupFolderName(const QDateTime& when);

// The safety copy before a clearing.
struct BackupResult {
    store::Status status;
    QString folderName;      // inside the working folder; empty when it failed
    bool cancelled = false;  // stopped through the progress: no folder left
};

// Backs up every file a clearing empties or deletes, and the masters and the
// settings, into a new folder inside the working folder (its name from the
// moment, with "_2", "_3", ... when that folder is there already): the data
// file, the history, the two masters, the settings, the text file and the
// pictures of every title, every cast, synopsis and memo text (these as second
// names of the same files where the file system allows). Missing files are
// passed over. The backup is made durable before it returns. When a file
// cannot be backed up, the new folder is taken away again and the error returned; earlier
// backup folders are never touched. Stopped through the progress, the new
// folder is taken away too. A crash before the end leaves the catalogue's
// files untouched beside an incomplete folder.
BackupResult BackUpBeforeClearing(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                                  const QDateTime& when, const Progress& progress = {});

}  // namespace logic
