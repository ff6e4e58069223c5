#pragma once

#include <QString>
#include <QStringView>

namespace store {

// The result of checking a text the user typed before it is stored: the text in
// the form it will read back as, and the characters the file could not hold.
struct InputCheck {
    QString text;     // normalised (cp932::normalise)
    QString refused;  // distinct offending characters, in order; empty when fine
    QString tooLong;  // the warning about the text's length; empty when fine

    bool ok() const { return refused.isEmpty() && tooLong.isEmpty(); }
    // The Japanese warning naming the refused characters.
    QString warning() const;
    static QString warningTitle();
};

// For every text kept in a record file (fields, viewings, title names): a double
// quote, a line end or a character outside CP932 is refused, and so is a text
// longer than a record may hold.
InputCheck CheckRecordText(const QString& text);

// For side texts (line files): only characters outside CP932 are refused.
InputCheck CheckLineText(const QString& text);

// The eleven characters a title may not hold: its name is part of file names
// and of a quoted record field.
inline constexpr QStringView kForbiddenInTitle = u"\\/:,;*?\"<>|";

bool IsForbiddenInTitle(QChar c);
bool HasForbiddenInTitle(QStringView title);

}  // namespace store
