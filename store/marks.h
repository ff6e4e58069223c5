#pragma once

#include <QLatin1StringView>
#include <QStringView>

// The marks the record files hold, spelled once.
namespace store::marks {

// The overall rating, best first; an empty field is no rating.
inline constexpr QStringView kRatingBest = u"◎";
inline constexpr QStringView kRatingGood = u"○";
inline constexpr QStringView kRatingFair = u"△";
inline constexpr QStringView kRatings[] = {kRatingBest, kRatingGood, kRatingFair};

// An ownership item that is marked; an empty field is not owned.
inline constexpr QStringView kOwned = u"○";

// Every line of every file of the catalogue ends so; the second spelling is
// for the writers that put Latin-1 text.
inline constexpr QStringView kLineEnd = u"\r\n";
inline constexpr QLatin1StringView kLineEndLatin1{"\r\n"};

}  // namespace store::marks
