#pragma once

#include <QByteArray>
#include <QString>

#include "store/seen_files.h"

namespace logic {

// Three-way merges of the program's own files, when another program changed
// one since it was loaded: base is what was loaded, ours what this program is
// about to write, theirs what is on disk now. A side that does not read gives
// its error (the file and the line) and no bytes.

// The data file, by title name: a field changed on one side takes that side's
// value, on both sides ours (the title is then a conflict). A title added on
// either side is kept: theirs in their place, ours at the end. A title deleted
// on one side goes when the other left it untouched, else it stays with the
// edit. The order is theirs, unless ours reordered the titles it shares with
// the base: then ours, with their new titles at the end.
store::Merged MergeTitles(const QByteArray& base, const QByteArray& ours, const QByteArray& theirs);

// The history: the file's records, less the records this program removed,
// plus the viewings it added, each after every record of its date or earlier.
store::Merged MergeHistory(const QByteArray& base, const QByteArray& ours,
                           const QByteArray& theirs);

// A master or the settings, line by line: a line this program changed takes
// its value, every other line theirs.
store::Merged MergeLines(const QString& fileName, const QByteArray& base, const QByteArray& ours,
                         const QByteArray& theirs);

// The merge for the named file (the data file, the history, else by lines).
store::Merged MergeOwnFile(const QString& fileName, const QByteArray& base, const QByteArray& ours,
                           const QByteArray& theirs);

}  // namespace logic
