#pragma once

// Internal helpers of the store: a case-insensitive comparison equal to
// QString::compare(a, b, Qt::CaseInsensitive) but without its per-call cost,
// a stable sort by it, and an exact hash index of texts.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace store::detail {

// Marks the upper halves of the AVX registers clean (vzeroupper, when the
// processor has AVX). After a large read() the kernel can hand the process
// back with that state dirty; until some code clears it, every SSE
// instruction (QString's allocation and copy among them) pays a transition
// penalty, which made parsing five times slower. Called after the folder's
// reads and before the parse.
void ClearUpperVectorState();

// Same sign as QString::compare(a, b, Qt::CaseInsensitive).
int CompareIgnoringCase(QStringView a, QStringView b);

// Stable sort by CompareIgnoringCase: equal texts keep their order.
void StableSortIgnoringCase(std::vector<QString>& texts);
// The same, then only the first of each exact value is kept.
void SortDistinctIgnoringCase(std::vector<QString>& texts);

// Exact (binary) index of distinct texts: each text gets the id of its first
// insertion, ids counting from 0 in order of first insertion.
class TextIndex {
public:
    void clear();
    void reserve(qsizetype n);
    qsizetype size() const { return static_cast<qsizetype>(keys_.size()); }
    const QString& key(int id) const { return keys_[static_cast<size_t>(id)]; }

    // The id of the text, or -1.
    int find(QStringView text) const;
    // The id of the text, inserted when new; *added tells which.
    int insert(QStringView text, bool* added = nullptr);
    // Same, sharing the given string when new.
    int insert(const QString& text, bool* added = nullptr);

private:
    template <typename Make>
    int insertImpl(QStringView text, bool* added, Make make);
    void grow();

    std::vector<QString> keys_;
    std::vector<uint32_t> hashes_;  // of keys_
    std::vector<int32_t> slots_;    // id + 1, 0 = empty; size a power of two
};

}  // namespace store::detail
