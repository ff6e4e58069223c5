#pragma once

#include <QByteArray>
#include <QString>
#include <array>

#include "store/catalogue.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// The fields a film-details lookup can fill, in the order they are offered.
enum class LookupField { Kantoku, Syuen, Nengetu, Kuni, Janru, Cast, Synopsis, Picture };
inline constexpr int kLookupFields = 8;
using LookupTexts = std::array<QString, kLookupFields>;

// "監督", "主演", "公開日", "国", "ジャンル", "キャスト", "あらすじ", "画像".
QString LookupFieldName(LookupField f);

// The Japanese name of an ISO 3166-1 country code, from ICU; the code itself
// when ICU knows no name for it, empty for an empty code.
QString JapaneseCountryName(const QString& isoCode);

// The title's values as they are now: the five fields, the cast and synopsis
// texts (lines joined by "\n") and the name of its picture file ("" for none).
// A side text that does not load is an error (it is then never written).
store::Status CurrentLookupValues(store::WorkingFolder& folder, const store::Catalogue& catalogue,
                                  int title, LookupTexts& current);

// One row of the choice: what may be taken and whether it is taken unless the
// user says otherwise.
struct FillRow {
    QString value;  // the found value as it would be stored
    bool checkable = false;
    bool checked = false;
    QString refusal;  // "保存できない文字を含みます", "長すぎます", or empty
};

// For each field: a found value can be taken when the files can hold it; it is
// taken by default only where the current value is empty. The picture row's
// found value is any non-empty text (a description of the picture); its current
// value is the name of the picture in place.
std::array<FillRow, kLookupFields> DecideFill(const LookupTexts& current, const LookupTexts& found);

// What the user took: the rows' values for the fields taken, and the picture's
// bytes (a JPEG) when the picture is taken.
struct LookupChoice {
    std::array<bool, kLookupFields> take{};
    LookupTexts values;
    QByteArray jpeg;
};

// The file the picture is stored as: the title + ".jpg".
QString LookupPictureName(const QString& title);

// Stores the choice for title i: the picture, the side texts, then the record
// (one write of the data file). When a write fails, what was already written is
// put back and the record in memory stays as it was; the error is returned.
// After success the pick lists know the new values, and the title's pictures
// of other endings are deleted so that the new one is the one shown.
store::Status StoreLookup(store::WorkingFolder& folder, store::Catalogue& catalogue, int title,
                          const LookupChoice& choice);

}  // namespace logic
