#pragma once

#include "history/history.h"
#include "logic/rankings.h"

namespace logic {

// Viewings per month over time: one entry per calendar month from the month
// of the earliest viewing to that of the latest, labelled "YYYY年MM月", months
// without a viewing counting 0. Dates that name no month ("YYYY/MM" or
// "YYYY-M" at their start) count nowhere.
Ranking ViewingMonthSeries(const history::History& history);
// The same per year ("YYYY年"), from the earliest year to the latest.
Ranking ViewingYearSeries(const history::History& history);

// The n entries with the largest counts, largest first; equal counts keep
// their order in the ranking. Entries counting 0 are left out.
Ranking TopEntries(const Ranking& ranking, int n);

}  // namespace logic
