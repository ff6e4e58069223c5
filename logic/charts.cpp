#include "logic/charts.h"

#include <QStringView>
#include <algorithm>
#include <numeric>
#include <optional>

namespace logic {

namespace {

struct YearMonth {
    int year;
    int month;
};

int DigitsValue(QStringView s) {
    int v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return s.isEmpty() ? -1 : v;
}

// The year and month a viewing date starts with: four digits, "/" or "-",
// a month of one or two digits.
std::optional<YearMonth> YearMonthOf(const QString& date) {
    if (date.size() < 6) return std::nullopt;
    const int year = DigitsValue(QStringView(date).left(4));
    const QChar sep = date[4];
    if (year < 0 || (sep != u'/' && sep != u'-')) return std::nullopt;
    qsizetype end = 5;
    while (end < date.size() && end < 7 && date[end].isDigit()) ++end;
    const int month = DigitsValue(QStringView(date).mid(5, end - 5));
    if (month < 1 || month > 12) return std::nullopt;
    return YearMonth{year, month};
}

QString YearLabel(int year) {
    return QStringLiteral("%1年").arg(year, 4, 10, QLatin1Char('0'));
}

// Counts the viewings per slot, slot(year, month) numbering months or years.
template <typename SlotOf>
std::optional<std::pair<int, std::vector<int>>> Tally(const history::History& h, SlotOf slotOf) {
    std::vector<int> found;
    found.reserve(h.HistoryCount);
    int first = 0, last = -1;
    for (int i = 1; i <= h.HistoryCount; ++i) {
        const std::optional<YearMonth> ym = YearMonthOf(h.strKansyoubi[i]);
        if (!ym) continue;
        const int s = slotOf(*ym);
        if (found.empty() || s < first) first = s;
        if (found.empty() || s > last) last = s;
        found.push_back(s);
    }
    if (found.empty()) return std::nullopt;
    std::vector<int> counts(static_cast<size_t>(last - first + 1), 0);
    for (int s : found) ++counts[static_cast<size_t>(s - first)];
    return std::pair{first, std::move(counts)};
}

}  // namespace

Ranking ViewingMonthSeries(const history::History& h) {
    Ranking r;
    auto tally = Tally(h, [](YearMonth ym) { return ym.year * 12 + ym.month - 1; });
    if (!tally) return r;
    r.counts = std::move(tally->second);
    r.labels.reserve(r.counts.size());
    for (size_t k = 0; k < r.counts.size(); ++k) {
        const int slot = tally->first + static_cast<int>(k);
        r.labels.push_back(YearLabel(slot / 12) +
                           QStringLiteral("%1月").arg(slot % 12 + 1, 2, 10, QLatin1Char('0')));
    }
    return r;
}

Ranking ViewingYearSeries(const history::History& h) {
    Ranking r;
    auto tally = Tally(h, [](YearMonth ym) { return ym.year; });
    if (!tally) return r;
    r.counts = std::move(tally->second);
    r.labels.reserve(r.counts.size());
    for (size_t k = 0; k < r.counts.size(); ++k)
        r.labels.push_back(YearLabel(tally->first + static_cast<int>(k)));
    return r;
}

Ranking TopEntries(const Ranking& ranking, int n) {
    std::vector<size_t> order;
    order.reserve(ranking.counts.size());
    for (size_t i = 0; i < ranking.counts.size(); ++i) {
        if (ranking.counts[i] > 0) order.push_back(i);
    }
    const size_t take = std::min(order.size(), static_cast<size_t>(std::max(n, 0)));
    // Count descending, then the ranking's own order: the same as a stable sort.
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(take), order.end(),
                      [&](size_t a, size_t b) {
                          const int ca = ranking.counts[a], cb = ranking.counts[b];
                          return ca != cb ? ca > cb : a < b;
                      });
    Ranking top;
    for (size_t k = 0; k < take; ++k) {
        top.labels.push_back(ranking.labels[order[k]]);
        top.counts.push_back(ranking.counts[order[k]]);
    }
    return top;
}

}  // namespace logic
