#include "logic/merge.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <vector>

#include "history/history.h"
#include "store/catalogue.h"
#include "store/record_file.h"

namespace logic {
namespace {

constexpr int kTitleFields = 18;

bool isIntegerField(int f) {
    return f >= 7 && f < 14;
}

// One record as the texts of its fields; key: the name and which of its
// namesakes it is, so that two titles of one name stay two.
struct Record {
    QString key;
    QStringList fields;
};

store::Status readRecords(const QString& file, const QByteArray& bytes, int fieldCount,
                          std::vector<Record>& out) {
    store::RecordReader r(file, bytes);
    QHash<QString, int> seen;
    while (!r.failed() && !r.AtEnd()) {
        Record rec;
        for (int f = 0; f < fieldCount; ++f) {
            rec.fields << (fieldCount == kTitleFields && isIntegerField(f)
                               ? QString::number(r.ReadInteger())
                               : r.ReadText());
        }
        if (r.failed()) break;
        rec.key = rec.fields[0] + QChar(0) + QString::number(seen[rec.fields[0]]++);
        out.push_back(std::move(rec));
    }
    return r.status();
}

QHash<QString, int> indexOf(const std::vector<Record>& records) {
    QHash<QString, int> index;
    for (size_t i = 0; i < records.size(); ++i) index.insert(records[i].key, static_cast<int>(i));
    return index;
}

store::Merged written(store::RecordWriter& w, QStringList conflicts) {
    store::Merged m;
    m.status = w.finish(m.bytes);
    if (!m.status) m.bytes.clear();
    m.conflicts = std::move(conflicts);
    return m;
}

// True when ours holds the titles it shares with the base in another order.
bool reordered(const std::vector<Record>& ours, const QHash<QString, int>& inBase) {
    int last = -1;
    for (const Record& r : ours) {
        const int i = inBase.value(r.key, -1);
        if (i < 0) continue;
        if (i < last) return true;
        last = i;
    }
    return false;
}

store::Merged failed(const store::Status& s) {
    return {s, {}, {}};
}

}  // namespace

store::Merged MergeTitles(const QByteArray& base, const QByteArray& ours,
                          const QByteArray& theirs) {
    std::vector<Record> b, o, t;
    for (auto [bytes, into] : {std::pair{&base, &b}, {&ours, &o}, {&theirs, &t}}) {
        if (store::Status s = readRecords(store::kDataFile, *bytes, kTitleFields, *into); !s) {
            return failed(s);
        }
    }
    const QHash<QString, int> inBase = indexOf(b), inOurs = indexOf(o), inTheirs = indexOf(t);
    QStringList conflicts;
    QHash<QString, QStringList> kept;  // key -> merged fields

    for (const Record& tr : t) {
        const int bi = inBase.value(tr.key, -1), oi = inOurs.value(tr.key, -1);
        if (oi < 0) {
            // Deleted by us: it goes unless they edited it.
            if (bi < 0 || b[static_cast<size_t>(bi)].fields != tr.fields) {
                kept.insert(tr.key, tr.fields);
            }
            continue;
        }
        const QStringList& of = o[static_cast<size_t>(oi)].fields;
        QStringList merged = tr.fields;
        bool clash = false;
        for (int f = 0; f < kTitleFields; ++f) {
            const QString* bf = bi >= 0 ? &b[static_cast<size_t>(bi)].fields[f] : nullptr;
            if (bf && of[f] == *bf) continue;  // ours untouched: theirs
            if (bf && tr.fields[f] == *bf)
                merged[f] = of[f];  // theirs untouched: ours
            else if (of[f] != tr.fields[f]) {
                merged[f] = of[f];
                clash = true;
            }
        }
        if (clash) conflicts << tr.fields[0];
        kept.insert(tr.key, merged);
    }
    for (const Record& or_ : o) {
        if (inTheirs.contains(or_.key)) continue;
        const int bi = inBase.value(or_.key, -1);
        // Deleted by them: it goes unless we edited it.
        if (bi >= 0 && b[static_cast<size_t>(bi)].fields == or_.fields) continue;
        kept.insert(or_.key, or_.fields);
    }

    std::vector<QString> order;
    if (reordered(o, inBase)) {
        for (const Record& r : o) order.push_back(r.key);
        for (const Record& r : t) {
            if (!inOurs.contains(r.key) && !inBase.contains(r.key)) order.push_back(r.key);
        }
    } else {
        for (const Record& r : t) order.push_back(r.key);
        for (const Record& r : o) {
            if (!inTheirs.contains(r.key)) order.push_back(r.key);
        }
    }
    store::RecordWriter w(store::kDataFile);
    for (const QString& key : order) {
        auto it = kept.constFind(key);
        if (it == kept.constEnd()) continue;
        for (int f = 0; f < kTitleFields; ++f) {
            if (isIntegerField(f))
                w.AddInteger(it->at(f).toInt());
            else
                w.AddText(it->at(f));
        }
        w.EndRecord();
    }
    conflicts.removeDuplicates();
    return written(w, conflicts);
}

store::Merged MergeHistory(const QByteArray& base, const QByteArray& ours,
                           const QByteArray& theirs) {
    std::vector<Record> b, o, t;
    for (auto [bytes, into] : {std::pair{&base, &b}, {&ours, &o}, {&theirs, &t}}) {
        if (store::Status s = readRecords(history::kHistoryFile, *bytes, 3, *into); !s) {
            return failed(s);
        }
    }
    // Counts of each whole record: a viewing has no name of its own.
    auto counts = [](const std::vector<Record>& v) {
        QHash<QStringList, int> n;
        for (const Record& r : v) ++n[r.fields];
        return n;
    };
    const QHash<QStringList, int> nb = counts(b), no = counts(o);
    QHash<QStringList, int> removed, added;
    for (auto it = nb.constBegin(); it != nb.constEnd(); ++it) {
        if (const int d = it.value() - no.value(it.key()); d > 0) removed.insert(it.key(), d);
    }
    std::vector<QStringList> ours_added;
    for (const Record& r : o) {
        if (added[r.fields]++ >= nb.value(r.fields)) ours_added.push_back(r.fields);
    }
    // Theirs already holding one of ours (the same viewing added twice) keeps it once.
    QHash<QStringList, int> inTheirs = counts(t);
    std::vector<QStringList> result;
    for (const Record& r : t) {
        if (int& d = removed[r.fields]; d > 0) {
            --d;
            continue;
        }
        result.push_back(r.fields);
    }
    for (const QStringList& v : ours_added) {
        if (int& n = inTheirs[v]; n > nb.value(v)) {
            --n;
            continue;
        }
        auto at = std::find_if(result.begin(), result.end(),
                               [&](const QStringList& r) { return r[0] > v[0]; });
        result.insert(at, v);
    }
    store::RecordWriter w(history::kHistoryFile);
    for (const QStringList& v : result) {
        w.WriteRecord(
            {store::Field::Text(v[0]), store::Field::Text(v[1]), store::Field::Text(v[2])});
    }
    return written(w, {});
}

store::Merged MergeLines(const QString& fileName, const QByteArray& base, const QByteArray& ours,
                         const QByteArray& theirs) {
    // A side that does not decode is not merged.
    for (const QByteArray* side : {&ours, &theirs}) {
        if (store::RecordReader r(fileName, *side); r.failed()) return failed(r.status());
    }
    const QList<QByteArray> b = base.split('\n'), o = ours.split('\n'), t = theirs.split('\n');
    QByteArray out;
    const qsizetype n = std::max(o.size(), t.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArray* bl = i < b.size() ? &b[i] : nullptr;
        const QByteArray* ol = i < o.size() ? &o[i] : nullptr;
        const QByteArray* tl = i < t.size() ? &t[i] : nullptr;
        const bool oursChanged = ol && (!bl || *ol != *bl);
        const QByteArray* line = oursChanged || !tl ? ol : tl;
        if (i > 0) out += '\n';
        out += *line;
    }
    return {store::Status::ok(), out, {}};
}

store::Merged MergeOwnFile(const QString& fileName, const QByteArray& base, const QByteArray& ours,
                           const QByteArray& theirs) {
    if (fileName.compare(store::kDataFile, Qt::CaseInsensitive) == 0) {
        return MergeTitles(base, ours, theirs);
    }
    if (fileName.compare(history::kHistoryFile, Qt::CaseInsensitive) == 0) {
        return MergeHistory(base, ours, theirs);
    }
    return MergeLines(fileName, base, ours, theirs);
}

}  // namespace logic
