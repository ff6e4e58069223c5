#pragma once

#include <QString>
#include <vector>

#include "history/history.h"
#include "store/catalogue.h"

namespace logic {

// A frequency ranking: one row per key of its key list, in key-list order,
// with the key's label and how many titles or viewings match it. Keys nothing
// matches any more keep their row with 0.
struct Ranking {
    std::vector<QString> labels;
    std::vector<int> counts;
};

// Titles per director, lead actor, country and genre, over the sorted pick
// lists. Titles with the field empty count nowhere.
Ranking DirectorRanking(const store::Catalogue& catalogue);
Ranking LeadActorRanking(const store::Catalogue& catalogue);
Ranking CountryRanking(const store::Catalogue& catalogue);
Ranking GenreRanking(const store::Catalogue& catalogue);

// Titles per release year-month (the first 7 characters of the release
// value, labelled "YYYY年MM月") and per release year ("YYYY年").
Ranking ReleaseMonthRanking(const store::Catalogue& catalogue);
Ranking ReleaseYearRanking(const store::Catalogue& catalogue);

// Viewings per viewing year-month ("YYYY年MM月") and per year ("YYYY年").
Ranking ViewingMonthRanking(const history::History& history);
Ranking ViewingYearRanking(const history::History& history);
// Viewings per catalogue title, in display order: never-viewed titles count 0,
// viewings of titles no longer in the catalogue count nowhere.
Ranking ViewedTitleRanking(const history::History& history, const store::Catalogue& catalogue);
// Viewings per viewing content, in order of first appearance.
Ranking ViewingContentRanking(const history::History& history);

// A month key ("YYYY/MM", also "YYYY-M-" and the like as typed into the
// release field) as "YYYY年MM月"; a key of any other shape is its own label.
QString MonthLabel(const QString& key);

}  // namespace logic
