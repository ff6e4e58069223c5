#include "store/dates.h"

#include <QDate>

namespace store {
namespace {

struct DateParts {
    int year = 0, month = 0, day = 0;
    bool hasDay = false;
};

// Reads 1..maxDigits ASCII digits at pos; -1 when there are none or too many.
int readNumber(const QString& t, qsizetype& pos, int minDigits, int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < t.size() && t.at(pos) >= u'0' && t.at(pos) <= u'9') {
        if (++digits > maxDigits) return -1;
        value = value * 10 + (t.at(pos).unicode() - u'0');
        ++pos;
    }
    return digits >= minDigits ? value : -1;
}

std::optional<DateParts> parse(const QString& t) {
    DateParts p;
    qsizetype pos = 0;
    p.year = readNumber(t, pos, 4, 4);
    if (p.year < 0 || pos >= t.size()) return std::nullopt;
    const QChar sep = t.at(pos);
    if (sep != u'/' && sep != u'-') return std::nullopt;
    ++pos;
    p.month = readNumber(t, pos, 1, 2);
    if (p.month < 0) return std::nullopt;
    if (pos < t.size()) {
        if (t.at(pos) != sep) return std::nullopt;
        ++pos;
        p.day = readNumber(t, pos, 1, 2);
        if (p.day < 0 || pos != t.size()) return std::nullopt;
        p.hasDay = true;
    }
    if (!QDate::isValid(p.year, p.month, p.hasDay ? p.day : 1)) return std::nullopt;
    return p;
}

}  // namespace

bool IsReleaseDate(const QString& text) {
    return parse(text).has_value();
}

bool IsViewingDate(const QString& text) {
    const auto p = parse(text);
    return p && p->hasDay;
}

std::optional<QString> NormaliseViewingDate(const QString& text) {
    const auto p = parse(text);
    if (!p || !p->hasDay) return std::nullopt;
    return QStringLiteral("%1/%2/%3")
        .arg(p->year, 4, 10, QLatin1Char('0'))
        .arg(p->month, 2, 10, QLatin1Char('0'))
        .arg(p->day, 2, 10, QLatin1Char('0'));
}

}  // namespace store
