#pragma once

#include <QStringList>
#include <vector>

#include "store/catalogue.h"
#include "store/working_folder.h"

namespace logic {

// The rows of the three list tables, one per title in catalogue order, every
// cell as the table shows it.

// Title, director, lead actor, release, country, genre.
std::vector<QStringList> MainListRows(const store::Catalogue& catalogue);

// Title, rating, the seven scores (0 shown too) and the total of items 2 to 7
// (item 1 has its own 0..100 scale and stays out of it).
std::vector<QStringList> EvaluationListRows(const store::Catalogue& catalogue);

// Title, the four ownership marks, then "○" where the title's cast, synopsis
// and memo text exists under its exact file name.
std::vector<QStringList> OwnershipListRows(const store::Catalogue& catalogue,
                                           const store::WorkingFolder& folder);

// The title numbers of the rows' names, in the rows' order; 0 for a name that
// is no title. A row order is applied only when this is a permutation of the
// titles, which ReorderTitles checks.
std::vector<int> TitlesOfRows(const store::Catalogue& catalogue, const QStringList& names);

}  // namespace logic
