#pragma once

#include <QStringList>

#include "logic/csv_import.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

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
