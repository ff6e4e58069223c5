#include "store/catalogue.h"

#include <algorithm>

#include "store/parallel.h"
#include "store/record_file.h"
#include "store/text_index.h"

namespace store {
namespace {

bool lessIgnoringCase(const QString& a, const QString& b) {
    return detail::CompareIgnoringCase(a, b) < 0;
}

}  // namespace

// ---------------------------------------------------------------- pick lists

int SortedPickList::insert(const QString& value) {
    // After the entries that compare equal: the first entry greater than it.
    auto it = std::upper_bound(items_.begin(), items_.end(), value, lessIgnoringCase);
    const int index = static_cast<int>(it - items_.begin());
    items_.insert(it, value);
    return index;
}

void SortedPickList::sort() {
    // Stable, so that equal entries keep the order in which they were added,
    // as one insert() after another would have left them.
    detail::StableSortIgnoringCase(items_);
}

bool SortedPickList::contains(const QString& value) const {
    auto it = std::lower_bound(items_.begin(), items_.end(), value, lessIgnoringCase);
    for (; it != items_.end() && detail::CompareIgnoringCase(*it, value) == 0; ++it) {
        if (*it == value) return true;
    }
    return false;
}

void SortedPickList::assignSorted(std::vector<QString>&& sortedDistinct) {
    items_.swap(sortedDistinct);
    sortedDistinct.clear();
}

void SortedPickList::assignDistinct(std::vector<QString>&& values) {
    // Sort every value (stable), then keep the first of each exact value:
    // exact duplicates compare equal ignoring case, so they fall in one run,
    // in order of appearance.
    items_.swap(values);
    values.clear();
    detail::SortDistinctIgnoringCase(items_);
}

// ---------------------------------------------------------------- catalogue

void Catalogue::clear() {
    TitleCount = 0;
    resize(0);
    clearDerived();
    loaded_ = false;
    tailClean_ = true;
}

void Catalogue::resize(int count) {
    const size_t n = static_cast<size_t>(count) + 1;
    for (auto* v :
         {&strDaimei, &strKantoku, &strSyuen, &strNengetu, &strKuni, &strJanru, &strHyouka}) {
        v->assign(n, QString());
    }
    intTensu.assign(n, std::array<qint16, 8>{});
    strSyoyu.assign(n, std::array<QString, 5>{});
}

void Catalogue::AppendRecord(TitleRecord r) {
    if (strDaimei.empty()) resize(0);  // slot 0 is never a title
    Q_ASSERT(strDaimei.size() == static_cast<size_t>(TitleCount) + 1);
    strDaimei.push_back(std::move(r.strDaimei));
    strKantoku.push_back(std::move(r.strKantoku));
    strSyuen.push_back(std::move(r.strSyuen));
    strNengetu.push_back(std::move(r.strNengetu));
    strKuni.push_back(std::move(r.strKuni));
    strJanru.push_back(std::move(r.strJanru));
    strHyouka.push_back(std::move(r.strHyouka));
    intTensu.push_back(r.intTensu);
    strSyoyu.push_back(std::move(r.strSyoyu));
    ++TitleCount;
}

void Catalogue::ReserveTitles(int count) {
    const size_t n = static_cast<size_t>(count) + 1;
    for (auto* v :
         {&strDaimei, &strKantoku, &strSyuen, &strNengetu, &strKuni, &strJanru, &strHyouka}) {
        v->reserve(n);
    }
    intTensu.reserve(n);
    strSyoyu.reserve(n);
}

std::vector<QString>& Catalogue::values(PickField f) {
    switch (f) {
        case PickField::Kantoku:
            return strKantoku;
        case PickField::Syuen:
            return strSyuen;
        case PickField::Kuni:
            return strKuni;
        case PickField::Janru:
            break;
    }
    return strJanru;
}

SortedPickList& Catalogue::pickList(PickField f) {
    switch (f) {
        case PickField::Kantoku:
            return cboKantoku;
        case PickField::Syuen:
            return cboSyuen;
        case PickField::Kuni:
            return cboKuni;
        case PickField::Janru:
            break;
    }
    return cboJanru;
}

int Catalogue::AddPickValue(PickField f, const QString& value) {
    if (value.isEmpty()) return -1;
    SortedPickList& list = pickList(f);
    if (list.contains(value)) return -1;
    return list.insert(value);
}

bool Catalogue::AddReleaseMonth(const QString& release) {
    if (release.isEmpty()) return false;
    const QStringView month = QStringView(release).left(7);
    const auto listed = [this](int k) { return QStringView(cboKoukai[size_t(k - 1)]); };
    if (!seenMonths_.insert(month, int(cboKoukai.size()) + 1, listed)) return false;
    cboKoukai.push_back(release.size() <= 7 ? release : month.toString());
    return true;
}

bool Catalogue::AddReleaseYear(const QString& release) {
    if (release.isEmpty()) return false;
    const QStringView year = QStringView(release).left(4);
    // The list's entries are the years with "年" after them.
    const auto listed = [this](int k) { return QStringView(cboKoukai3[size_t(k - 1)]).chopped(1); };
    if (!seenYears_.insert(year, int(cboKoukai3.size()) + 1, listed)) return false;
    cboKoukai3.push_back(year.toString() + QStringLiteral("年"));
    return true;
}

void Catalogue::addToPickLists(int i, bool sortedInsert) {
    const size_t k = static_cast<size_t>(i);
    cboName.push_back(strDaimei[k]);
    firstTitle_.insert(strDaimei[k], i,
                       [this](int t) { return QStringView(strDaimei[size_t(t)]); });
    if (sortedInsert) {
        AddPickValue(PickField::Kantoku, strKantoku[k]);
        AddPickValue(PickField::Syuen, strSyuen[k]);
        AddPickValue(PickField::Kuni, strKuni[k]);
        AddPickValue(PickField::Janru, strJanru[k]);
    }
    AddReleaseMonth(strNengetu[k]);
    AddReleaseYear(strNengetu[k]);
}

int Catalogue::IndexOf(const QString& name) const {
    // The index as loaded, each entry checked against the arrays as they are.
    if (!name.isEmpty()) {
        const int first = firstTitle_.find(name, [this](int t) {
            return t <= TitleCount ? QStringView(strDaimei[size_t(t)]) : QStringView();
        });
        if (first > 0) return first;
    }
    // Not in the index as loaded (a title renamed in the arrays since): look.
    for (int t = 1; t <= TitleCount; ++t) {
        if (strDaimei[static_cast<size_t>(t)] == name) return t;
    }
    return 0;
}

void Catalogue::clearDerived() {
    cboName.clear();
    cboKantoku.clear();
    cboSyuen.clear();
    cboKuni.clear();
    cboJanru.clear();
    cboKoukai.clear();
    cboKoukai3.clear();
    seenMonths_.clear();
    seenYears_.clear();
    firstTitle_.clear();
}

Status Catalogue::LoadTitleData(WorkingFolder& folder) {
    // The derived lists go first, so that the arrays' strings are no longer
    // shared and the parse can overwrite them in place.
    clearDerived();
    loaded_ = false;
    // A missing data file is created empty: the catalogue has no title.
    Status s = LoadOrCreate(folder, kDataFile, QByteArray(),
                            [this](const QByteArray& bytes) { return parseTitles(bytes); });
    if (!s.isWritten()) {
        clear();
        return s;
    }
    loaded_ = true;
    return s;
}

Status Catalogue::parseTitles(const QByteArray& bytes) {
    RecordReader r(kDataFile, bytes);
    const bool endsWithLineEnd = bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
    TitleCount = 0;
    // A record takes at least 20 bytes.
    reserveTitles(static_cast<size_t>(std::min<qsizetype>(bytes.size() / 20, kMaxRecords)) + 2);
    size_t count = 0;
    if (Status s = readTitles(r, count); !s) return s;
    tailClean_ = r.AtEndOfText() && endsWithLineEnd;
    TitleCount = static_cast<int>(count);
    fillPickLists();
    return Status::ok();
}

void Catalogue::reserveTitles(size_t lines) {
    for (auto* v :
         {&strDaimei, &strKantoku, &strSyuen, &strNengetu, &strKuni, &strJanru, &strHyouka}) {
        v->reserve(lines);
        if (v->empty()) v->emplace_back();  // slot 0 stays empty
    }
    intTensu.reserve(lines);
    strSyoyu.reserve(lines);
    if (intTensu.empty()) intTensu.emplace_back();
    if (strSyoyu.empty()) strSyoyu.emplace_back();
}

// One pass. Titles already in the arrays (from the last load) are
// overwritten in place; the arrays grow beyond that as records come, and are
// cut to the count at the end.
Status Catalogue::readTitles(RecordReader& r, size_t& count) {
    std::vector<QString>* texts[7] = {&strDaimei, &strKantoku, &strSyuen, &strNengetu,
                                      &strKuni,   &strJanru,   &strHyouka};
    const size_t had = strDaimei.size();
    count = 0;
    while (!r.failed() && !r.AtEnd()) {
        if (count == static_cast<size_t>(kMaxRecords)) {
            return StoreError{
                kDataFile, r.line(),
                QStringLiteral("タイトルが上限の %1 件を超えています").arg(kMaxRecords)};
        }
        const size_t i = ++count;
        if (i < had) {
            for (auto* v : texts) r.ReadText((*v)[i]);
            auto& scores = intTensu[i];
            for (size_t k = 1; k <= 7; ++k) scores[k] = static_cast<qint16>(r.ReadInteger());
            auto& owned = strSyoyu[i];
            for (size_t k = 1; k <= 4; ++k) r.ReadText(owned[k]);
        } else {
            for (auto* v : texts) v->push_back(r.ReadText());
            std::array<qint16, 8> scores{};
            for (size_t k = 1; k <= 7; ++k) scores[k] = static_cast<qint16>(r.ReadInteger());
            intTensu.push_back(scores);
            std::array<QString, 5> owned;
            for (size_t k = 1; k <= 4; ++k) owned[k] = r.ReadText();
            strSyoyu.push_back(std::move(owned));
        }
    }
    if (r.failed()) return r.status();
    for (auto* v : texts) v->resize(count + 1);
    intTensu.resize(count + 1);
    strSyoyu.resize(count + 1);
    return Status::ok();
}

// In a large catalogue the sorted lists are put in order on a second thread
// while this one indexes the names and release dates. The second thread only
// reads the texts, never copies one: a copy counts a reference on the storage
// every text of the file shares. The lists themselves are filled here
// afterwards.
void Catalogue::fillPickLists() {
    const size_t count = static_cast<size_t>(TitleCount);
    constexpr PickField kSorted[] = {PickField::Kantoku, PickField::Syuen, PickField::Kuni,
                                     PickField::Janru};
    std::vector<uint32_t> titleOf[4];
    std::vector<uint32_t> order[4];
    const auto sortPickList = [&](int f) {
        std::vector<QStringView> present;
        present.reserve(count);
        titleOf[f].reserve(count);
        const std::vector<QString>& v = values(kSorted[f]);
        for (size_t i = 1; i <= count; ++i) {
            if (v[i].isEmpty()) continue;
            present.push_back(v[i]);
            titleOf[f].push_back(static_cast<uint32_t>(i));
        }
        order[f] = detail::SortedOrderIgnoringCase(present, true);
    };
    RunBeside(
        [&] {
            for (int f = 0; f < 4; ++f) sortPickList(f);
        },
        [&] {
            cboName.reserve(count);
            firstTitle_.reserve(TitleCount);
            seenMonths_.reserve(TitleCount);
            seenYears_.reserve(TitleCount);
            for (int i = 1; i <= TitleCount; ++i) addToPickLists(i, false);
        },
        count >= 4096);
    for (int f = 0; f < 4; ++f) {
        const std::vector<QString>& v = values(kSorted[f]);
        std::vector<QString> items;
        items.reserve(order[f].size());
        for (uint32_t k : order[f]) items.push_back(v[titleOf[f][k]]);
        pickList(kSorted[f]).assignSorted(std::move(items));
    }
}

namespace {

void writeTitle(RecordWriter& w, const Catalogue& c, size_t i) {
    const auto& t = c.intTensu[i];
    const auto& o = c.strSyoyu[i];
    for (const auto* v : {&c.strDaimei, &c.strKantoku, &c.strSyuen, &c.strNengetu, &c.strKuni,
                          &c.strJanru, &c.strHyouka}) {
        w.AddText((*v)[i]);
    }
    for (size_t k = 1; k <= 7; ++k) w.AddInteger(t[k]);
    for (size_t k = 1; k <= 4; ++k) w.AddText(o[k]);
    w.EndRecord();
}

// Characters of the file of these titles, within a little.
qsizetype fileSize(const Catalogue& c, const std::vector<int>& order) {
    qsizetype n = 0;
    for (int i : order) {
        const size_t k = static_cast<size_t>(i);
        n += c.strDaimei[k].size() + c.strKantoku[k].size() + c.strSyuen[k].size() +
             c.strNengetu[k].size() + c.strKuni[k].size() + c.strJanru[k].size() +
             c.strHyouka[k].size() + c.strSyoyu[k][1].size() + c.strSyoyu[k][2].size() +
             c.strSyoyu[k][3].size() + c.strSyoyu[k][4].size() + 2 * 11 + 17 + 7 * 6 + 2;
    }
    return n;
}

}  // namespace

Status Catalogue::refuseSave(const WorkingFolder& folder) const {
    if (!loaded_ || folder.isUnwritable(kDataFile)) {
        return StoreError{kDataFile, 0,
                          QStringLiteral("読み込みに失敗したため保存しません。"
                                         "ファイルを直してからプログラムを起動し直してください")};
    }
    if (TitleCount < 0 || TitleCount > kMaxRecords ||
        strDaimei.size() != static_cast<size_t>(TitleCount) + 1) {
        return StoreError{kDataFile, 0, QStringLiteral("タイトルの件数が正しくありません")};
    }
    return Status::ok();
}

Status Catalogue::orderBytes(const std::vector<int>& order, QByteArray& bytes) const {
    RecordWriter w(kDataFile);
    w.reserve(fileSize(*this, order));
    for (int i : order) writeTitle(w, *this, static_cast<size_t>(i));
    return w.finish(bytes);
}

Status Catalogue::TitleDataBytes(const WorkingFolder& folder, QByteArray& bytes) const {
    if (Status s = refuseSave(folder); !s) return s;
    std::vector<int> order(static_cast<size_t>(TitleCount));
    for (int i = 0; i < TitleCount; ++i) order[static_cast<size_t>(i)] = i + 1;
    return orderBytes(order, bytes);
}

Status Catalogue::writeOrder(WorkingFolder& folder, const std::vector<int>& order) const {
    QByteArray bytes;
    if (Status s = orderBytes(order, bytes); !s) return s;
    Status s = folder.replace(kDataFile, bytes);
    if (s.isWritten()) tailClean_ = true;
    return s;
}

Status Catalogue::SaveTitleData(WorkingFolder& folder) const {
    if (Status s = refuseSave(folder); !s) return s;
    std::vector<int> order(static_cast<size_t>(TitleCount));
    for (int i = 0; i < TitleCount; ++i) order[static_cast<size_t>(i)] = i + 1;
    return writeOrder(folder, order);
}

Status Catalogue::SaveTitleDataWithout(WorkingFolder& folder, int k) const {
    if (Status s = refuseSave(folder); !s) return s;
    if (k < 1 || k > TitleCount) {
        return StoreError{kDataFile, 0,
                          QStringLiteral("削除するタイトルの番号 %1 がありません").arg(k)};
    }
    std::vector<int> order;
    order.reserve(static_cast<size_t>(TitleCount));
    for (int i = 1; i <= TitleCount; ++i) {
        if (i != k) order.push_back(i);
    }
    return writeOrder(folder, order);
}

Status Catalogue::SaveTitleDataInOrder(WorkingFolder& folder, const std::vector<int>& order) const {
    if (Status s = refuseSave(folder); !s) return s;
    // Every title exactly once, so that no title is lost or doubled.
    std::vector<char> seen(static_cast<size_t>(TitleCount) + 1, 0);
    bool valid = order.size() == static_cast<size_t>(TitleCount);
    for (int i : order) {
        if (!valid) break;
        if (i < 1 || i > TitleCount || seen[static_cast<size_t>(i)])
            valid = false;
        else
            seen[static_cast<size_t>(i)] = 1;
    }
    if (!valid) {
        return StoreError{
            kDataFile, 0,
            QStringLiteral("並べ替えの順序がすべてのタイトルを一度ずつ含んでいません")};
    }
    return writeOrder(folder, order);
}

Status Catalogue::AppendTitle(WorkingFolder& folder, const QString& name) const {
    if (Status s = refuseSave(folder); !s) return s;
    if (TitleCount >= kMaxRecords) {
        return StoreError{
            kDataFile, 0,
            QStringLiteral("タイトルは %1 件までしか登録できません").arg(kMaxRecords)};
    }
    if (IndexOf(name) != 0) {
        return StoreError{kDataFile, 0,
                          QStringLiteral("同じ題名のタイトルがすでにあります：「%1」").arg(name)};
    }
    RecordWriter w(kDataFile);
    std::vector<Field> fields{Field::Text(name)};
    for (int f = 2; f <= 17; ++f) fields.push_back(Field::Absent());
    fields.push_back(Field::Text(QString()));
    w.WriteRecord(fields);
    QByteArray record;
    if (Status s = w.finish(record); !s) return s;
    if (!tailClean_) {
        // The file ends without a line end, or with blank lines after its last
        // record: an appended record would join or shift. Rewrite it whole.
        RecordWriter all(kDataFile);
        for (int i = 1; i <= TitleCount; ++i) writeTitle(all, *this, static_cast<size_t>(i));
        all.WriteRecord(fields);
        QByteArray bytes;
        if (Status s = all.finish(bytes); !s) return s;
        Status s = folder.replace(kDataFile, bytes);
        if (s.isWritten()) tailClean_ = true;
        return s;
    }
    // The file with the record at its end replaces the file as a whole.
    return folder.append(kDataFile, record);
}

}  // namespace store
