#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "history/history.h"
#include "store/catalogue.h"
#include "store/side_files.h"
#include "store/working_folder.h"

// The searches of the search screen. Every comparison is exact and binary:
// letter case, character width and kana kind all count. Each returns the
// entries of the result list in their order.
namespace logic {

// Titles whose director, lead actor, country or genre is exactly the value.
QStringList TitlesWithValue(const store::Catalogue& c, store::Catalogue::PickField field,
                            const QString& value);

// Titles with the rating entry ("◎", "○", "△"; "未" for no rating).
QStringList TitlesWithRating(const store::Catalogue& c, const QString& entry);

// Titles whose ownership item (1..4) is marked "○", or is not.
QStringList TitlesWithOwnership(const store::Catalogue& c, int item, bool owned);

// The key of a stored year-month: "yyyy/mm" when the value reads as a date,
// else the value itself (so an empty value has the empty key).
QString YearMonthKey(const QString& value);

// Titles whose release key lies between the bounds, both included; an empty
// bound is open. Nothing when both bounds are empty (the list stays).
std::optional<QStringList> TitlesReleasedBetween(const store::Catalogue& c, const QString& from,
                                                 const QString& to);

// One entry per viewing whose month lies between the bounds, in history order;
// nothing when both bounds are empty.
std::optional<QStringList> ViewingsBetween(const history::History& h, const QString& from,
                                           const QString& to);

// One entry per viewing of that content, in history order.
QStringList ViewingsWithContent(const history::History& h, const QString& content);

// Titles whose name contains the word.
QStringList TitlesContaining(const store::Catalogue& c, const QString& word);

// The titles of the side files of the kind whose text contains the word, once
// each, in file-name order. A file that cannot be read or decoded is passed
// over.
QStringList SideTextsContaining(const store::WorkingFolder& folder, store::SideText kind,
                                const QString& word);

// The titles of every side file of the kind, in file-name order, whether or
// not such a title exists.
QStringList TitlesWithSideText(const store::WorkingFolder& folder, store::SideText kind);

// Catalogue titles, in catalogue order, that have no side file of the kind.
QStringList TitlesWithoutSideText(const store::Catalogue& c, const store::WorkingFolder& folder,
                                  store::SideText kind);

}  // namespace logic
