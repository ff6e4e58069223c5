#include "logic/rankings.h"

#include <QHash>
#include <QStringView>
#include <optional>

namespace logic {

namespace {

const QChar kYear = u'年';

// Counts values[1..n] against a key list in one pass: each key is indexed
// once (lookupOf gives the text a value must have to match it), then each
// value's key (keyOf) is looked up. Empty values count nowhere.
template <typename LookupOf, typename KeyOf, typename LabelOf>
Ranking RankKeys(const std::vector<QString>& keys, LookupOf lookupOf,
                 const std::vector<QString>& values, int n, KeyOf keyOf, LabelOf labelOf) {
    // The views point into keys, which outlive the index.
    QHash<QStringView, int> index;
    index.reserve(static_cast<qsizetype>(keys.size()));
    std::vector<int> idOfRow(keys.size(), -1);
    for (size_t k = 0; k < keys.size(); ++k) {
        if (const std::optional<QStringView> text = lookupOf(keys[k])) {
            auto it = index.constFind(*text);
            if (it == index.constEnd()) it = index.insert(*text, static_cast<int>(index.size()));
            idOfRow[k] = *it;
        }
    }
    std::vector<int> tally(static_cast<size_t>(index.size()), 0);
    for (int i = 1; i <= n; ++i) {
        const QString& v = values[i];
        if (v.isEmpty()) continue;
        if (auto it = index.constFind(keyOf(v)); it != index.constEnd()) ++tally[*it];
    }
    Ranking r;
    r.labels.reserve(keys.size());
    r.counts.reserve(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        r.labels.push_back(labelOf(keys[k]));
        r.counts.push_back(idOfRow[k] >= 0 ? tally[idOfRow[k]] : 0);
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
std::optional<QStringView> First7Key(const QString& k) {
    return First7(k);
}
// A year key "YYYY年" matches the values whose first 4 characters are "YYYY".
std::optional<QStringView> YearKey(const QString& k) {
    if (!k.endsWith(kYear)) return std::nullopt;
    return QStringView(k).chopped(1);
}

Ranking ValueRanking(const store::SortedPickList& keys, const std::vector<QString>& values, int n) {
    return RankKeys(keys.items(), ExactKey, values, n, Whole, Same);
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
    return RankKeys(c.cboKoukai, First7Key, c.strNengetu, c.TitleCount, First7, MonthLabel);
}

Ranking ReleaseYearRanking(const store::Catalogue& c) {
    return RankKeys(c.cboKoukai3, YearKey, c.strNengetu, c.TitleCount, First4, Same);
}

Ranking ViewingMonthRanking(const history::History& h) {
    return RankKeys(h.cboKanbi, ExactKey, h.strKansyoubi, h.HistoryCount, First7, MonthLabel);
}

Ranking ViewingYearRanking(const history::History& h) {
    return RankKeys(h.cboKanbi2, YearKey, h.strKansyoubi, h.HistoryCount, First4, Same);
}

Ranking ViewedTitleRanking(const history::History& h, const store::Catalogue& c) {
    return RankKeys(c.cboName, ExactKey, h.strKansyouDaimei, h.HistoryCount, Whole, Same);
}

Ranking ViewingContentRanking(const history::History& h) {
    return RankKeys(h.cboKansyou, ExactKey, h.strKansyouNaiyou, h.HistoryCount, Whole, Same);
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
