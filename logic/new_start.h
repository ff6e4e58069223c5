#pragma once

#include <QString>

#include "logic/backup.h"
#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// A title's name + ".txt" can spell a file the program keeps for something
// else (a title "評価マスタ" and the evaluation master, a title "メモ_X" and
// the memo of X); such a file is not the title's and stays when it goes.
bool IsKeptForSomethingElse(const QString& fileName);

// The entries of the folder a new start deletes: the text file and the
// pictures of every title, every cast, synopsis and memo text.
QStringList FilesOfNewStart(const store::Catalogue& catalogue, const store::WorkingFolder& folder);

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

}  // namespace logic
