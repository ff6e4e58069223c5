#pragma once

#include <QString>
#include <optional>

namespace store {

// The release field's test: a four-digit year, then a one- or two-digit month,
// then optionally a one- or two-digit day, separated by "/" or "-" (one kind of
// separator per date); the month and day must form a calendar date.
bool IsReleaseDate(const QString& text);

// The viewing date's test: year, month and day as above (the day is required).
bool IsViewingDate(const QString& text);

// A viewing date as "YYYY/MM/DD", or nothing when it is not a viewing date.
std::optional<QString> NormaliseViewingDate(const QString& text);

}  // namespace store
