#include "logic/rankings.h"

#include <QStringView>
#include <cstdint>
#include <optional>

namespace logic {

namespace {

const QChar kYear = u'年';

// Equal texts; a value and its key often share one buffer, which then need
// not be read.
bool SameText(QStringView a, QStringView b) {
    return a.size() == b.size() && (a.data() == b.data() || a == b);
}

uint64_t Hash(QStringView text) {
    // FNV-1a over the UTF-16 units, folded so that the low bits mix too.
    uint64_t h = 14695981039346656037ull;
    for (QChar c : text) {
        h ^= c.unicode();
        h *= 1099511628211ull;
    }
    return h ^ (h >> 32);
}

// The key texts of a ranking, each numbered once: open addressing over the
// numbers, with the upper half of each hash beside its number.
class KeyIndex {
public:
    explicit KeyIndex(size_t keys) {
        size_t capacity = 16;
        while (capacity < 2 * keys) capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
        texts_.reserve(keys);
    }

    // The number of the text (from 0), a new one when it is new.
    int Add(QStringView text, uint64_t hash) {
        size_t at = hash & mask_;
        for (; slots_[at].number != 0; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.tag == Tag(hash) && SameText(texts_[slot.number - 1], text)) {
                return slot.number - 1;
            }
        }
        texts_.push_back(text);
        slots_[at] = {Tag(hash), static_cast<int>(texts_.size())};
        return slots_[at].number - 1;
    }

    // The first key whose hash looks like this one: the text's number when
    // the text is a key, unless two hashes collide. -1 when no key has it.
    int Candidate(uint64_t hash) const {
        for (size_t at = hash & mask_; slots_[at].number != 0; at = (at + 1) & mask_) {
            if (slots_[at].tag == Tag(hash)) return slots_[at].number - 1;
        }
        return -1;
    }

    // The number of the text, or -1.
    int Find(QStringView text, uint64_t hash) const {
        for (size_t at = hash & mask_; slots_[at].number != 0; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.tag == Tag(hash) && SameText(texts_[slot.number - 1], text)) {
                return slot.number - 1;
            }
        }
        return -1;
    }

    QStringView Text(int number) const { return texts_[number]; }
    int Size() const { return static_cast<int>(texts_.size()); }
    void PrefetchSlot(uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

private:
    struct Slot {
        uint32_t tag = 0;
        int number = 0;  // from 1; 0 while empty
    };

    static uint32_t Tag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

    std::vector<Slot> slots_;
    size_t mask_ = 0;
    std::vector<QStringView> texts_;  // by number
};

// A ranking reads 32766 key texts and as many values scattered over the
// heap, and a table too large for the cache in no order the memory can
// foresee; waiting for each in turn was most of its time. So the work goes
// in passes over arrays, each one asking this far ahead for what it will
// read: the texts to hash, the slots of the hashes, the texts to compare.
constexpr size_t kAhead = 8;

void Prefetch(const void* at) {
    __builtin_prefetch(at);
}

// Counts values[1..n] against a key list: each key is indexed once
// (lookupOf gives the text a value must have to match it), then each value's
// key (keyOf) is looked up. Empty values count nowhere.
template <typename LookupOf, typename KeyOf, typename LabelOf>
Ranking RankKeys(const std::vector<QString>& keys, LookupOf lookupOf,
                 const std::vector<QString>& values, int n, KeyOf keyOf, LabelOf labelOf) {
    const size_t keyCount = keys.size();
    Ranking r;
    r.labels.reserve(keyCount);
    // The views point into keys, which outlive the index.
    std::vector<std::optional<QStringView>> keyTexts(keyCount);
    std::vector<uint64_t> keyHashes(keyCount);
    for (size_t k = 0; k < keyCount; ++k) {
        if (k + kAhead < keyCount) Prefetch(keys[k + kAhead].constData());
        r.labels.push_back(labelOf(keys[k]));
        keyTexts[k] = lookupOf(keys[k]);
        if (keyTexts[k]) keyHashes[k] = Hash(*keyTexts[k]);
    }
    KeyIndex index(keyCount);
    std::vector<int> idOfRow(keyCount, -1);
    for (size_t k = 0; k < keyCount; ++k) {
        if (k + kAhead < keyCount) index.PrefetchSlot(keyHashes[k + kAhead]);
        if (keyTexts[k]) idOfRow[k] = index.Add(*keyTexts[k], keyHashes[k]);
    }

    const size_t last = static_cast<size_t>(n);
    std::vector<uint64_t> valueHashes(last + 1);
    for (size_t i = 1; i <= last; ++i) {
        if (i + kAhead <= last) Prefetch(values[i + kAhead].constData());
        if (!values[i].isEmpty()) valueHashes[i] = Hash(keyOf(values[i]));
    }
    std::vector<int> candidates(last + 1, -1);
    for (size_t i = 1; i <= last; ++i) {
        if (i + kAhead <= last) index.PrefetchSlot(valueHashes[i + kAhead]);
        if (!values[i].isEmpty()) candidates[i] = index.Candidate(valueHashes[i]);
    }
    std::vector<int> tally(static_cast<size_t>(index.Size()), 0);
    for (size_t i = 1; i <= last; ++i) {
        if (i + kAhead <= last && candidates[i + kAhead] >= 0) {
            Prefetch(index.Text(candidates[i + kAhead]).data());
            Prefetch(values[i + kAhead].constData());
        }
        int id = candidates[i];
        if (id < 0) continue;
        const QStringView value = keyOf(values[i]);
        if (!SameText(index.Text(id), value)) id = index.Find(value, valueHashes[i]);
        if (id >= 0) ++tally[id];
    }

    r.counts.reserve(keyCount);
    for (size_t k = 0; k < keyCount; ++k) {
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
    // Made in one piece: a month ranking labels up to 32766 keys.
    QString label(8, Qt::Uninitialized);
    QChar* out = label.data();
    for (int i = 0; i < 4; ++i) *out++ = key[i];
    *out++ = kYear;
    *out++ = month.size() == 1 ? QChar(u'0') : month[0];
    *out++ = month.back();
    *out = QChar(u'月');
    return label;
}

}  // namespace logic
