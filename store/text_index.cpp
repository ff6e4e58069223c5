#include "store/text_index.h"

#include <QSet>
#include <algorithm>

namespace store::detail {

bool AddIfNew(QSet<QString>& seen, const QString& text) {
    const qsizetype before = seen.size();
    seen.insert(text);
    return seen.size() != before;
}

int CompareIgnoringCase(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive);
}

void StableSortIgnoringCase(std::vector<QString>& texts) {
    std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

void SortDistinctIgnoringCase(std::vector<QString>& texts) {
    StableSortIgnoringCase(texts);
    // Exact duplicates compare equal ignoring case, so they fall in one run of
    // equal texts, in order of appearance: the first of each is kept.
    size_t out = 0;
    QSet<QString> seen;
    for (size_t begin = 0; begin < texts.size();) {
        size_t end = begin + 1;
        while (end < texts.size() &&
               QString::compare(texts[begin], texts[end], Qt::CaseInsensitive) == 0) {
            ++end;
        }
        seen.clear();
        for (size_t i = begin; i < end; ++i) {
            if (end - begin > 1 && !AddIfNew(seen, texts[i])) continue;
            if (out != i) texts[out] = std::move(texts[i]);
            ++out;
        }
        begin = end;
    }
    texts.resize(out);
}

}  // namespace store::detail
