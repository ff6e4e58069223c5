#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <vector>

#include "store/status.h"
#include "store/text_index.h"
#include "store/working_folder.h"

namespace store {

class RecordReader;

inline constexpr int kMaxRecords = 32766;
inline const QString kDataFile = QStringLiteral("データ.TXT");

// A pick list kept in ascending order of case-insensitive comparison; a new
// entry goes after the entries that compare equal to it.
class SortedPickList {
public:
    const std::vector<QString>& items() const { return items_; }
    // Inserts at the sorted place; returns the index it took.
    int insert(const QString& value);
    void clear() { items_.clear(); }
    // Sorts once after a bulk fill made with append().
    void append(const QString& value) { items_.push_back(value); }
    void sort();
    // True when that exact value is in the list.
    bool contains(const QString& value) const;
    // Replaces the entries by the distinct values (exact comparison, first
    // appearance kept) in sorted order: the list that inserting them one by one
    // would have built. Takes the values' storage and leaves `values` empty.
    void assignDistinct(std::vector<QString>&& values);
    // Takes values that are in that order and distinct already.
    void assignSorted(std::vector<QString>&& sortedDistinct);

private:
    std::vector<QString> items_;
};

// One title's values as its record holds them, named as the catalogue's
// arrays are.
struct TitleRecord {
    QString strDaimei, strKantoku, strSyuen, strNengetu, strKuni, strJanru, strHyouka;
    std::array<qint16, 8> intTensu{};  // [item 1..7]
    std::array<QString, 5> strSyoyu;   // [item 1..4], "○" or ""
};

// The title catalogue: parallel arrays indexed 1..TitleCount (slot 0 unused) in
// display order, with the pick lists and seen-sets derived from them.
class Catalogue {
public:
    int TitleCount = 0;
    std::vector<QString> strDaimei, strKantoku, strSyuen, strNengetu, strKuni, strJanru, strHyouka;
    std::vector<std::array<qint16, 8>> intTensu;   // [title][item 1..7]
    std::vector<std::array<QString, 5>> strSyoyu;  // [title][item 1..4], "○" or ""

    // Pick lists of the main screen.
    std::vector<QString> cboName;  // catalogue order
    SortedPickList cboKantoku, cboSyuen, cboKuni, cboJanru;
    std::vector<QString> cboKoukai;   // release year-months, first appearance
    std::vector<QString> cboKoukai3;  // release years + "年", first appearance

    // The four combo fields, in the order of the seen-sets.
    enum class PickField { Kantoku, Syuen, Kuni, Janru };

    // Replaces everything from "データ.TXT" (created empty when missing). On
    // failure the catalogue is empty and can never be saved in this run.
    Status LoadTitleData(WorkingFolder& folder);

    // Writes titles 1..TitleCount. Refused when the catalogue did not load.
    Status SaveTitleData(WorkingFolder& folder) const;
    // The bytes SaveTitleData writes, for a write together with another file.
    Status TitleDataBytes(const WorkingFolder& folder, QByteArray& bytes) const;
    // Writes every title but title k (1..TitleCount); the caller reloads.
    Status SaveTitleDataWithout(WorkingFolder& folder, int k) const;
    // Writes the titles in the given order of title numbers; the caller reloads.
    Status SaveTitleDataInOrder(WorkingFolder& folder, const std::vector<int>& order) const;

    // Appends the record of a new title (the name, seventeen commas, an empty
    // text). Refused at kMaxRecords titles or when the catalogue did not load.
    Status AppendTitle(WorkingFolder& folder, const QString& name) const;

    // Adds a title after the last one, in memory only: the arrays grow by one
    // and TitleCount follows; the pick lists are left to the next load.
    // ReserveTitles before many spares the arrays' growing.
    void AppendRecord(TitleRecord record);
    void ReserveTitles(int count);

    // Maximum of the title scroll bar: TitleCount, or 1 with no titles.
    int ScrollMaximum() const { return TitleCount > 0 ? TitleCount : 1; }

    bool IsLoaded() const { return loaded_; }

    // First title number whose name equals the text exactly, or 0.
    int IndexOf(const QString& name) const;

    // The field's array and its pick list.
    std::vector<QString>& values(PickField f);
    SortedPickList& pickList(PickField f);
    // Adds a typed value to the field's seen-set and pick list when new;
    // returns its list index when added, -1 when already present.
    int AddPickValue(PickField f, const QString& value);
    // Adds the month key (first 7 characters) to the month list when new;
    // true when added at the end.
    bool AddReleaseMonth(const QString& release);
    // Adds the year (first 4 characters) + "年" to the year list when new.
    bool AddReleaseYear(const QString& release);

private:
    void clear();
    void clearDerived();
    void resize(int count);
    void addToPickLists(int i, bool sortedInsert);
    Status parseTitles(const QByteArray& bytes);
    void reserveTitles(size_t lines);
    Status readTitles(RecordReader& r, size_t& count);
    void fillPickLists();
    Status refuseSave(const WorkingFolder& folder) const;
    Status writeOrder(WorkingFolder& folder, const std::vector<int>& order) const;
    Status orderBytes(const std::vector<int>& order, QByteArray& bytes) const;

    bool loaded_ = false;
    // The sorted lists are their own seen-sets (SortedPickList::contains).
    detail::TextNumbers seenMonths_;  // numbers in cboKoukai, from 1
    detail::TextNumbers seenYears_;   // numbers in cboKoukai3, from 1
    detail::TextNumbers firstTitle_;  // names: the first title number of each
    // The file ends right after its last record's line end, so that a record
    // can be appended; else AppendTitle rewrites the file whole.
    mutable bool tailClean_ = true;
};

}  // namespace store
