#pragma once

#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// How far a clearing got. It stops at the first file it cannot empty; then
// `dataEmptied` tells whether the data file is empty already, so that the
// catalogue in memory can follow it.
struct ClearResult {
    store::Status status;
    bool dataEmptied = false;
};

// The new start: empties "データ.TXT" and then "鑑賞履歴.TXT"; deletes the
// text file and the pictures of every title of the catalogue, then every cast,
// synopsis and memo text of the folder. The masters and the settings stay, as
// does any program file a title's name happens to spell. A file that cannot be
// deleted is passed over; only a file that cannot be emptied stops it.
ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder);

// The narrower clearing: empties "データ.TXT" and deletes the files of every
// title; the history and the side texts stay.
ClearResult ClearTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder);

}  // namespace logic
