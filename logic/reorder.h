#pragma once

#include <QStringList>
#include <vector>

#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// The title numbers of the names, in the names' order. A name that is no title,
// or that came before, adds nothing; titles left unnamed follow in catalogue
// order, so that every title is in the result exactly once.
std::vector<int> OrderOfNames(const store::Catalogue& catalogue, const QStringList& names);

// Writes the catalogue in the given order of title numbers (each title once);
// the old file stays when that fails. The caller reloads the catalogue.
store::Status ReorderTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                            const std::vector<int>& order);

}  // namespace logic
