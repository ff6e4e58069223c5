#include "store/text_index.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <memory>

namespace store::detail {

bool AddIfNew(QSet<QString>& seen, const QString& text) {
    const qsizetype before = seen.size();
    seen.insert(text);
    return seen.size() != before;
}

namespace {

// The simple case folding of every UTF-16 unit, as QString's case-insensitive
// comparison applies it to units outside surrogate pairs.
const char16_t* FoldTable() {
    static const std::unique_ptr<char16_t[]> table = [] {
        auto t = std::make_unique<char16_t[]>(65536);
        for (uint32_t c = 0; c < 65536; ++c) {
            t[c] = static_cast<char16_t>(QChar::toCaseFolded(static_cast<char16_t>(c)));
        }
        return t;
    }();
    return table.get();
}

}  // namespace

int CompareIgnoringCase(QStringView a, QStringView b) {
    const char16_t* fold = FoldTable();
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = pa[i];
        const char16_t cb = pb[i];
        if (ca == cb && !QChar::isSurrogate(ca)) continue;
        if (QChar::isSurrogate(ca) || QChar::isSurrogate(cb)) {
            return QStringView(a).compare(b, Qt::CaseInsensitive);
        }
        const int d = int(fold[ca]) - int(fold[cb]);
        if (d != 0) return d;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

// Keeps the first of each exact value within each run [begin, end) of order
// whose texts compare equal ignoring case; returns the new end of the kept
// entries, which are moved down to start at `out`.
size_t KeepFirstOfEach(const std::vector<QStringView>& texts, std::vector<uint32_t>& order,
                       size_t begin, size_t end, size_t out) {
    if (end - begin == 1) {
        order[out] = order[begin];
        return out + 1;
    }
    const size_t kept = out;
    if (end - begin <= 16) {
        for (size_t i = begin; i < end; ++i) {
            bool seen = false;
            for (size_t k = kept; k < out && !seen; ++k) seen = texts[order[k]] == texts[order[i]];
            if (!seen) order[out++] = order[i];
        }
        return out;
    }
    QSet<QStringView> distinct;
    distinct.reserve(static_cast<qsizetype>(end - begin));
    for (size_t i = begin; i < end; ++i) {
        const qsizetype before = distinct.size();
        distinct.insert(texts[order[i]]);
        if (distinct.size() != before) order[out++] = order[i];
    }
    return out;
}

void FallbackOrder(const std::vector<QStringView>& texts, std::vector<uint32_t>& order,
                   bool distinct) {
    const size_t n = texts.size();
    order.resize(n);
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [&texts](uint32_t a, uint32_t b) {
        return texts[a].compare(texts[b], Qt::CaseInsensitive) < 0;
    });
    if (!distinct) return;
    size_t out = 0;
    for (size_t b = 0; b < n;) {
        size_t e = b + 1;
        while (e < n && texts[order[b]].compare(texts[order[e]], Qt::CaseInsensitive) == 0) ++e;
        out = KeepFirstOfEach(texts, order, b, e, out);
        b = e;
    }
    order.resize(out);
}

}  // namespace

std::vector<uint32_t> SortedOrderIgnoringCase(const std::vector<QStringView>& texts,
                                              bool distinct) {
    std::vector<uint32_t> order;
    const size_t n = texts.size();
    if (n < 2) {
        order.assign(n, 0);
        return order;
    }
    // The folded units of every text in one buffer. All texts share their
    // first `common` folded units, so the comparison starts after them; each
    // entry carries the next eight folded units as two numbers, so that most
    // comparisons are one or two integer comparisons. Ties on everything fall
    // to the original order, which makes the sort stable. A text with a
    // surrogate goes the slow way (QString::compare), as Qt folds pairs.
    const char16_t* fold = FoldTable();
    struct Entry {
        uint64_t key1, key2;
        uint32_t offset;
        uint32_t length;
        uint32_t order;
    };
    size_t total = 0;
    for (QStringView t : texts) total += static_cast<size_t>(t.size());
    // Scratch kept from one sort to the next: fresh pages cost more than the
    // sort itself at the record limit.
    thread_local std::vector<char16_t> folded;
    thread_local std::vector<Entry> entries;
    folded.resize(total + 8);
    entries.resize(n);
    size_t at = 0;
    char16_t surrogates = 0;
    for (size_t i = 0; i < n; ++i) {
        const char16_t* d = texts[i].utf16();
        const size_t len = static_cast<size_t>(texts[i].size());
        char16_t* f = folded.data() + at;
        for (size_t k = 0; k < len; ++k) {
            const char16_t c = d[k];
            surrogates |= static_cast<char16_t>((c & 0xF800) == 0xD800);
            f[k] = fold[c];
        }
        entries[i].offset = static_cast<uint32_t>(at);
        entries[i].length = static_cast<uint32_t>(len);
        entries[i].order = static_cast<uint32_t>(i);
        at += len;
    }
    if (surrogates) {
        FallbackOrder(texts, order, distinct);
        return order;
    }
    const char16_t* base = folded.data();
    size_t common = entries[0].length;
    for (size_t i = 1; i < n && common > 0; ++i) {
        const char16_t* p0 = base + entries[0].offset;
        const char16_t* pi = base + entries[i].offset;
        const size_t m = std::min<size_t>(common, entries[i].length);
        size_t k = 0;
        while (k < m && p0[k] == pi[k]) ++k;
        common = k;
    }
    for (Entry& e : entries) {
        const char16_t* p = base + e.offset;
        uint64_t k1 = 0, k2 = 0;
        for (size_t k = 0; k < 8; ++k) {
            const size_t pos = common + k;
            const uint64_t u = pos < e.length ? p[pos] : 0;
            if (k < 4) {
                k1 |= u << (48 - 16 * k);
            } else {
                k2 |= u << (48 - 16 * (k - 4));
            }
        }
        e.key1 = k1;
        e.key2 = k2;
    }
    const size_t skip = common + 8;
    std::sort(entries.begin(), entries.end(), [base, skip](const Entry& x, const Entry& y) {
        if (x.key1 != y.key1) return x.key1 < y.key1;
        if (x.key2 != y.key2) return x.key2 < y.key2;
        // Equal keys: the units before `skip` are equal where both texts have
        // them (a zero beyond one text's end can only tie where the other text
        // ends or holds a zero, which the loops below settle).
        const char16_t* px = base + x.offset;
        const char16_t* py = base + y.offset;
        const uint32_t m = std::min(x.length, y.length);
        uint32_t i = static_cast<uint32_t>(std::min<size_t>(skip, m));
        // Where a text ends inside the keyed window, settle from its start.
        if (m < skip) i = 0;
        for (; i + 4 <= m; i += 4) {
            uint64_t vx, vy;
            std::memcpy(&vx, px + i, 8);
            std::memcpy(&vy, py + i, 8);
            if (vx != vy) {
                const unsigned unit = static_cast<unsigned>(__builtin_ctzll(vx ^ vy)) / 16;
                return px[i + unit] < py[i + unit];
            }
        }
        for (; i < m; ++i) {
            if (px[i] != py[i]) return px[i] < py[i];
        }
        if (x.length != y.length) return x.length < y.length;
        return x.order < y.order;
    });
    order.resize(n);
    for (size_t i = 0; i < n; ++i) order[i] = entries[i].order;
    if (!distinct) return order;
    // Runs of texts whose folded units are equal are the runs that compare
    // equal ignoring case.
    auto sameFolded = [base](const Entry& x, const Entry& y) {
        return x.key1 == y.key1 && x.key2 == y.key2 && x.length == y.length &&
               std::memcmp(base + x.offset, base + y.offset, x.length * sizeof(char16_t)) == 0;
    };
    size_t out = 0;
    for (size_t b = 0; b < n;) {
        size_t e = b + 1;
        while (e < n && sameFolded(entries[b], entries[e])) ++e;
        out = KeepFirstOfEach(texts, order, b, e, out);
        b = e;
    }
    order.resize(out);
    return order;
}

namespace {

void SortTexts(std::vector<QString>& texts, bool distinct) {
    std::vector<QStringView> views(texts.begin(), texts.end());
    const std::vector<uint32_t> order = SortedOrderIgnoringCase(views, distinct);
    std::vector<QString> sorted;
    sorted.reserve(order.size());
    for (uint32_t i : order) sorted.push_back(std::move(texts[i]));
    texts.swap(sorted);
}

}  // namespace

void StableSortIgnoringCase(std::vector<QString>& texts) {
    SortTexts(texts, false);
}

void SortDistinctIgnoringCase(std::vector<QString>& texts) {
    SortTexts(texts, true);
}

// ---------------------------------------------------------------- numbers

void TextNumbers::clear() {
    slots_.clear();
    count_ = 0;
}

void TextNumbers::reserve(qsizetype count) {
    size_t capacity = 16;
    while (capacity < static_cast<size_t>(count) * 2) capacity *= 2;
    if (capacity > slots_.size()) rehash(capacity);
}

void TextNumbers::rehash(size_t capacity) {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(capacity, Slot{});
    const size_t mask = capacity - 1;
    for (const Slot& s : old) {
        if (s.number == 0) continue;
        size_t i = s.hash & mask;
        while (slots_[i].number != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

uint32_t TextNumbers::hashOf(QStringView text) {
    return static_cast<uint32_t>(qHash(text, 0));
}

}  // namespace store::detail
