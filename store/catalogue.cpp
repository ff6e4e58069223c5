#include "store/catalogue.h"

#include <algorithm>

#include "store/record_file.h"

namespace store {
namespace {

bool lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

const QString kOwned = QStringLiteral("○");

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
    std::stable_sort(items_.begin(), items_.end(), lessIgnoringCase);
}

// ---------------------------------------------------------------- catalogue

void Catalogue::clear() {
    TitleCount = 0;
    resize(0);
    cboName.clear();
    cboKantoku.clear();
    cboSyuen.clear();
    cboKuni.clear();
    cboJanru.clear();
    cboKoukai.clear();
    cboKoukai3.clear();
    for (auto& s : seen_) s.clear();
    seenMonths_.clear();
    seenYears_.clear();
    indexByName_.clear();
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
    QSet<QString>& seen = seen_[static_cast<size_t>(f)];
    if (seen.contains(value)) return -1;
    seen.insert(value);
    return pickList(f).insert(value);
}

bool Catalogue::AddReleaseMonth(const QString& release) {
    if (release.isEmpty()) return false;
    const QString key = release.left(7);
    if (seenMonths_.contains(key)) return false;
    seenMonths_.insert(key);
    cboKoukai.push_back(key);
    return true;
}

bool Catalogue::AddReleaseYear(const QString& release) {
    if (release.isEmpty()) return false;
    const QString key = release.left(4);
    if (seenYears_.contains(key)) return false;
    seenYears_.insert(key);
    cboKoukai3.push_back(key + QStringLiteral("年"));
    return true;
}

void Catalogue::addToPickLists(int i, bool sortedInsert) {
    const size_t k = static_cast<size_t>(i);
    cboName.push_back(strDaimei[k]);
    if (!indexByName_.contains(strDaimei[k])) indexByName_.insert(strDaimei[k], i);
    const std::vector<QString>* fields[4] = {&strKantoku, &strSyuen, &strKuni, &strJanru};
    SortedPickList* lists[4] = {&cboKantoku, &cboSyuen, &cboKuni, &cboJanru};
    for (size_t f = 0; f < 4; ++f) {
        const QString& v = (*fields[f])[k];
        if (v.isEmpty()) continue;
        QSet<QString>& seen = seen_[f];
        const qsizetype before = seen.size();
        seen.insert(v);
        if (seen.size() == before) continue;
        if (sortedInsert) {
            lists[f]->insert(v);
        } else {
            lists[f]->append(v);
        }
    }
    AddReleaseMonth(strNengetu[k]);
    AddReleaseYear(strNengetu[k]);
}

int Catalogue::IndexOf(const QString& name) const {
    return indexByName_.value(name, 0);
}

Status Catalogue::LoadTitleData(WorkingFolder& folder) {
    clear();
    QByteArray bytes;
    bool missing = false;
    if (Status s = folder.read(kDataFile, bytes, &missing); !s) {
        if (!missing || !WorkingFolder::isSafeName(kDataFile)) {
            folder.markUnwritable(kDataFile);
            return s;
        }
        // A missing data file is created empty; the catalogue has no title.
        if (Status c = folder.replace(kDataFile, QByteArray()); !c) return c;
        resize(0);
        loaded_ = true;
        return Status::ok();
    }

    RecordReader r(kDataFile, bytes);
    const bool endsWithLineEnd = bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
    bytes = QByteArray();
    // One pass; the arrays grow as records come (slot 0 stays empty).
    resize(0);
    int count = 0;
    while (!r.failed() && !r.AtEnd()) {
        if (count == kMaxRecords) {
            const int line = r.line();
            clear();
            folder.markUnwritable(kDataFile);
            return StoreError{
                kDataFile, line,
                QStringLiteral("タイトルが上限の %1 件を超えています").arg(kMaxRecords)};
        }
        strDaimei.push_back(r.ReadText());
        strKantoku.push_back(r.ReadText());
        strSyuen.push_back(r.ReadText());
        strNengetu.push_back(r.ReadText());
        strKuni.push_back(r.ReadText());
        strJanru.push_back(r.ReadText());
        strHyouka.push_back(r.ReadText());
        std::array<qint16, 8> scores{};
        for (size_t k = 1; k <= 7; ++k) scores[k] = static_cast<qint16>(r.ReadInteger());
        intTensu.push_back(scores);
        std::array<QString, 5> owned;
        for (size_t k = 1; k <= 4; ++k) owned[k] = r.ReadText();
        strSyoyu.push_back(std::move(owned));
        ++count;
    }
    if (r.failed()) {
        const Status s = r.status();
        clear();
        folder.markUnwritable(kDataFile);
        return s;
    }
    tailClean_ = r.AtEndOfText() && endsWithLineEnd;
    TitleCount = count;

    cboName.reserve(static_cast<size_t>(count));
    indexByName_.reserve(count);
    for (int i = 1; i <= count; ++i) addToPickLists(i, false);
    cboKantoku.sort();
    cboSyuen.sort();
    cboKuni.sort();
    cboJanru.sort();
    loaded_ = true;
    return Status::ok();
}

namespace {

void writeTitle(RecordWriter& w, const Catalogue& c, size_t i) {
    const auto& t = c.intTensu[i];
    const auto& o = c.strSyoyu[i];
    w.WriteRecord({Field::Text(c.strDaimei[i]), Field::Text(c.strKantoku[i]),
                   Field::Text(c.strSyuen[i]), Field::Text(c.strNengetu[i]),
                   Field::Text(c.strKuni[i]), Field::Text(c.strJanru[i]),
                   Field::Text(c.strHyouka[i]), Field::Integer(t[1]), Field::Integer(t[2]),
                   Field::Integer(t[3]), Field::Integer(t[4]), Field::Integer(t[5]),
                   Field::Integer(t[6]), Field::Integer(t[7]), Field::Text(o[1]), Field::Text(o[2]),
                   Field::Text(o[3]), Field::Text(o[4])});
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

Status Catalogue::writeOrder(WorkingFolder& folder, const std::vector<int>& order) const {
    RecordWriter w(kDataFile);
    for (int i : order) writeTitle(w, *this, static_cast<size_t>(i));
    QByteArray bytes;
    if (Status s = w.finish(bytes); !s) return s;
    if (Status s = folder.replace(kDataFile, bytes); !s) return s;
    tailClean_ = true;
    return Status::ok();
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
        if (Status s = folder.replace(kDataFile, bytes); !s) return s;
        tailClean_ = true;
        return Status::ok();
    }
    return folder.append(kDataFile, record);
}

}  // namespace store
