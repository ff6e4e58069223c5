#pragma once

#include <QStringList>
#include <array>

#include "logic/csv_import.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// The side texts of a title to add from its trimmed cells (キャスト, あらすじ,
// メモ): the cast a person a line, line ends CR LF. A text the file cannot
// hold is left out, noted and counted in leftOut; plain: the file holds only
// such characters as CP932 keeps.
void TakeSideTexts(const std::array<QString, 3>& cells, bool plain, ImportTitle& t, int& leftOut);

// Writes the side files (キャスト・あらすじ・メモ) of the titles an import adds,
// in CP932 with CR LF line ends, then makes them durable at once. A file of
// that name already there is left as it was and counted in *kept. *written
// lists the names written, also on failure, so that RemoveImportSideTexts
// can take them back.
store::Status WriteImportSideTexts(const ImportPlan& plan, store::WorkingFolder& folder,
                                   QStringList& written, int* kept);

// Deletes the files WriteImportSideTexts wrote.
void RemoveImportSideTexts(store::WorkingFolder& folder, const QStringList& written);

}  // namespace logic
