#include "logic/rankings.h"

#include <QHash>
#include <QStringView>
#include <optional>

namespace logic {

namespace {

const QChar kYear = u'年';

using Tally = QHash<QStringView, int>;

// How many of values[1..n] fall under each key; keyOf gives a value's key (a
// view into the value). Empty values count nowhere.
template <typename KeyOf>
Tally CountValues(const std::vector<QString>& values, int n, KeyOf keyOf) {
    Tally tally;
    tally.reserve(n);
    for (int i = 1; i <= n; ++i) {
        const QString& v = values[i];
        if (!v.isEmpty()) ++tally[keyOf(v)];
    }
    return tally;
}

// One row per key: lookupOf gives the tally key a list key matches, labelOf
// its label.
template <typename LookupOf, typename LabelOf>
Ranking RankKeys(const std::vector<QString>& keys, const Tally& tally, LookupOf lookupOf,
                 LabelOf labelOf) {
    Ranking r;
    r.labels.reserve(keys.size());
    r.counts.reserve(keys.size());
    for (const QString& k : keys) {
        r.labels.push_back(labelOf(k));
        const std::optional<QStringView> at = lookupOf(k);
        r.counts.push_back(at ? tally.value(*at) : 0);
    }
    return r;
}

QStringView Whole(const QString& s) {
    return s;
}
QStringView First4(const QString& s) {
    return QStringView(s).left(4);
}
QStringView First7(const QString& s) {
    return QStringView(s).left(7);
}
QString Same(const QString& s) {
    return s;
}
std::optional<QStringView> ExactKey(const QString& k) {
    return QStringView(k);
}
// A year key "YYYY年" matches the values whose first 4 characters are "YYYY".
std::optional<QStringView> YearKey(const QString& k) {
    if (!k.endsWith(kYear)) return std::nullopt;
    return QStringView(k).chopped(1);
}

Ranking ValueRanking(const store::SortedPickList& keys, const std::vector<QString>& values, int n) {
    return RankKeys(keys.items(), CountValues(values, n, Whole), ExactKey, Same);
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsDigits(QStringView s) {
    for (QChar c : s) {
        if (!IsDigit(c)) return false;
    }
    return !s.isEmpty();
}

}  // namespace

Ranking DirectorRanking(const store::Catalogue& c) {
    return ValueRanking(c.cboKantoku, c.strKantoku, c.TitleCount);
}
Ranking LeadActorRanking(const store::Catalogue& c) {
    return ValueRanking(c.cboSyuen, c.strSyuen, c.TitleCount);
}
Ranking CountryRanking(const store::Catalogue& c) {
    return ValueRanking(c.cboKuni, c.strKuni, c.TitleCount);
}
Ranking GenreRanking(const store::Catalogue& c) {
    return ValueRanking(c.cboJanru, c.strJanru, c.TitleCount);
}

Ranking ReleaseMonthRanking(const store::Catalogue& c) {
    return RankKeys(
        c.cboKoukai, CountValues(c.strNengetu, c.TitleCount, First7),
        [](const QString& k) { return std::optional<QStringView>(First7(k)); }, MonthLabel);
}

Ranking ReleaseYearRanking(const store::Catalogue& c) {
    return RankKeys(c.cboKoukai3, CountValues(c.strNengetu, c.TitleCount, First4), YearKey, Same);
}

Ranking ViewingMonthRanking(const history::History& h) {
    return RankKeys(h.cboKanbi, CountValues(h.strKansyoubi, h.HistoryCount, First7), ExactKey,
                    MonthLabel);
}

Ranking ViewingYearRanking(const history::History& h) {
    return RankKeys(h.cboKanbi2, CountValues(h.strKansyoubi, h.HistoryCount, First4), YearKey,
                    Same);
}

Ranking ViewedTitleRanking(const history::History& h, const store::Catalogue& c) {
    return RankKeys(c.cboName, CountValues(h.strKansyouDaimei, h.HistoryCount, Whole), ExactKey,
                    Same);
}

Ranking ViewingContentRanking(const history::History& h) {
    return RankKeys(h.cboKansyou, CountValues(h.strKansyouNaiyou, h.HistoryCount, Whole), ExactKey,
                    Same);
}

QString MonthLabel(const QString& key) {
    // Four-digit year, "/" or "-", a one- or two-digit month, then the end or
    // the same separator again.
    if (key.size() < 6 || !IsDigits(QStringView(key).left(4))) return key;
    const QChar sep = key[4];
    if (sep != u'/' && sep != u'-') return key;
    qsizetype end = 5;
    while (end < key.size() && end < 7 && IsDigit(key[end])) ++end;
    const QStringView month = QStringView(key).mid(5, end - 5);
    if (!IsDigits(month) || (end < key.size() && key[end] != sep)) return key;
    return key.left(4) + kYear + (month.size() == 1 ? QStringLiteral("0") : QString()) +
           month.toString() + u'月';
}

}  // namespace logic
