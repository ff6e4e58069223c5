#include "logic/csv_import.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <cmath>

#include "logic/backup.h"
#include "logic/csv_columns.h"
#include "logic/import_side_texts.h"
#include "store/cp932.h"
#include "store/marks.h"
#include "store/record_file.h"
#include "store/side_files.h"
#include "store/text_check.h"

namespace logic {
namespace {

// The digit's value, ASCII or full-width ("２００４年" reads as a year); -1
// for any other character.
int DigitValue(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'０' && c <= u'９') return c.unicode() - u'０';
    return -1;
}

struct DateParts {
    int year = 0, month = 0, day = 0;  // 0: not given
};

std::optional<DateParts> ReadDate(const QString& raw) {
    const QStringView t = QStringView(raw).trimmed();
    std::array<int, 3> parts{};
    std::array<QChar, 3> separators{};
    int count = 0;
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n) {
        if (count == 3) return std::nullopt;
        const qsizetype start = i;
        int value = 0;
        for (int d; i < n && (d = DigitValue(t.at(i))) >= 0; ++i) value = value * 10 + d;
        const qsizetype digits = i - start;
        if (digits == 0 || (count == 0 && digits != 4) || (count > 0 && digits > 2)) {
            return std::nullopt;
        }
        parts[count] = value;
        separators[count++] = i < n ? t.at(i++) : QChar();
    }
    if (count == 0) return std::nullopt;
    // One kind of notation: "-" or "/" between the parts, or 年 月 日 after them.
    static const QString kanji = QStringLiteral("年月日");
    bool isKanji = true, isDash = true, isSlash = true;
    for (int k = 0; k < count; ++k) {
        const QChar s = separators[k];
        const bool last = k == count - 1;
        isKanji = isKanji && s == kanji.at(k);
        isDash = isDash && (last ? s.isNull() : s == u'-');
        isSlash = isSlash && (last ? s.isNull() : s == u'/');
    }
    if (!isKanji && !isDash && !isSlash) return std::nullopt;
    DateParts d{parts[0], parts[1], parts[2]};
    if (!QDate::isValid(d.year, d.month ? d.month : 1, d.day ? d.day : 1)) return std::nullopt;
    if ((count > 1 && d.month == 0) || (count > 2 && d.day == 0)) return std::nullopt;
    return d;
}

// A score cell: a whole number (ASCII or full-width digits, perhaps negative)
// read directly, anything else as a decimal; nothing when it is no number.
std::optional<double> ReadScore(const QString& v) {
    qsizetype i = v.startsWith(u'-') ? 1 : 0;
    if (i < v.size()) {
        double value = 0;
        for (; i < v.size(); ++i) {
            const int d = DigitValue(v.at(i));
            if (d < 0) break;
            value = value * 10 + d;
        }
        if (i == v.size()) return v.startsWith(u'-') ? -value : value;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

bool IsSet(const QString& v) {
    static const QStringList set = {QStringLiteral("○"), QStringLiteral("1"),
                                    QStringLiteral("true"), QStringLiteral("yes"),
                                    QStringLiteral("有")};
    return set.contains(v, Qt::CaseInsensitive);
}

// A double quote or a line end, which a record's text cannot hold.
bool HoldsRecordBreak(const QString& text) {
    for (QChar c : text) {
        if (c == u'"' || c == u'\r' || c == u'\n') return true;
    }
    return false;
}

// The header names each field answers to, compared ignoring case.
const std::array<QStringList, 7>& FixedNames() {
    static const std::array<QStringList, 7> names = {
        QStringList{QStringLiteral("タイトル"), QStringLiteral("タイトル名"),
                    QStringLiteral("題名"), QStringLiteral("Title"), QStringLiteral("Name")},
        QStringList{QStringLiteral("監督"), QStringLiteral("Director"),
                    QStringLiteral("Directors")},
        QStringList{QStringLiteral("主演"), QStringLiteral("Cast"), QStringLiteral("Actor"),
                    QStringLiteral("Actors"), QStringLiteral("Starring"), QStringLiteral("出演")},
        QStringList{QStringLiteral("公開日"), QStringLiteral("公開年月"), QStringLiteral("公開年"),
                    QStringLiteral("Year"), QStringLiteral("Release Date"),
                    QStringLiteral("Production Year"), QStringLiteral("Release Year"),
                    QStringLiteral("製作年")},
        QStringList{QStringLiteral("国"), QStringLiteral("製作国"), QStringLiteral("Country"),
                    QStringLiteral("Nationality")},
        QStringList{QStringLiteral("ジャンル"), QStringLiteral("Genre"), QStringLiteral("Genres")},
        QStringList{QStringLiteral("評"), QStringLiteral("評価")},
    };
    return names;
}

int ColumnOf(const QStringList& header, const QStringList& names, const QSet<int>& taken) {
    for (int c = 0; c < header.size(); ++c) {
        if (taken.contains(c)) continue;
        for (const QString& n : names) {
            if (!n.isEmpty() && header[c].trimmed().compare(n, Qt::CaseInsensitive) == 0) return c;
        }
    }
    return -1;
}

QString Cell(const QStringList& row, int column) {
    return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
}

constexpr qsizetype kSurelyFits = 64;

// A row's values as stored, or why it cannot be stored.
struct RowCheck {
    QStringList fields;
    QString kind;
    std::optional<ImportRefusal> refusal;
    QString detail;
    int clamped = 0;
    int notes = 0;
};

RowCheck CheckRow(const QStringList& row, const ImportMapping& m, bool wantsViewing, bool plain) {
    RowCheck r;
    r.fields.reserve(kImportFields);
    for (int f = 0; f < kImportFields; ++f) r.fields << Cell(row, m.field[f]);
    auto refuse = [&r](ImportRefusal why, QString detail) {
        r.refusal = why;
        r.detail = std::move(detail);
        return r;
    };
    if (r.fields[0].isEmpty()) return refuse(ImportRefusal::EmptyTitle, {});
    if (store::HasForbiddenInTitle(r.fields[0])) {
        if (!m.fullWidth) return refuse(ImportRefusal::ForbiddenInTitle, {});
        r.fields[0] = FullWidthTitle(r.fields[0]);
        r.notes |= TitleMadeFullWidth;
    }
    r.notes |= TakeLists(r.fields);
    QString kind = Cell(row, m.kind);
    if (kind.isEmpty()) kind = m.defaultKind.trimmed();
    std::array<QString*, kImportFields + 1> texts{};
    for (int f = 0; f < kImportFields; ++f) texts[f] = &r.fields[f];
    texts[kImportFields] = wantsViewing ? &kind : nullptr;
    for (QString* v : texts) {
        if (!v) continue;
        if (plain && v->size() <= store::kMaxRecordText && !HoldsRecordBreak(*v)) {
            continue;  // stored as it is
        }
        const store::InputCheck check = store::CheckRecordText(*v);
        if (!check.refused.isEmpty()) return refuse(ImportRefusal::Unstorable, check.warning());
        if (!check.tooLong.isEmpty()) return refuse(ImportRefusal::TooLong, check.tooLong);
        *v = check.text;
    }
    r.kind = kind;
    // A short name fits any file name (three bytes a character at most).
    if (r.fields[0].size() > kSurelyFits && store::TitleNameTooLong(r.fields[0])) {
        return refuse(ImportRefusal::NameTooLong, {});
    }

    if (!r.fields[3].isEmpty()) {
        const std::optional<QString> release = ImportReleaseDate(r.fields[3]);
        if (!release) return refuse(ImportRefusal::BadValue, r.fields[3]);
        r.fields[3] = *release;
    }
    const QString& rating = r.fields[6];
    if (!rating.isEmpty() &&
        std::find(std::begin(store::marks::kRatings), std::end(store::marks::kRatings), rating) ==
            std::end(store::marks::kRatings)) {
        return refuse(ImportRefusal::BadValue, rating);
    }
    for (int k = 1; k <= 7; ++k) {
        QString& v = r.fields[6 + k];
        if (v.isEmpty()) {
            v = QStringLiteral("0");
            continue;
        }
        const std::optional<double> read = ReadScore(v);
        if (!read) return refuse(ImportRefusal::BadValue, v);
        const double d = *read;
        const int max = k == 1 ? 100 : 10;
        const long rounded = std::lround(std::clamp(d, -1.0, max + 1.0));
        const int score = static_cast<int>(std::clamp<long>(rounded, 0, max));
        const bool changed = score != rounded || d != std::floor(d);
        if (changed) ++r.clamped;
        // A number written as stored stays the same text.
        if (changed || v.size() > 3 || (v.size() > 1 && v.at(0) == u'0') ||
            DigitValue(v.at(0)) < 0 || v.at(0) > u'9') {
            v = QString::number(score);
        }
    }
    for (int k = 14; k < kImportFields; ++k) {
        r.fields[k] = IsSet(r.fields[k]) ? store::marks::kOwned.toString() : QString();
    }
    return r;
}

// A row's 18 values as stored, the scores as numbers.
store::TitleRecord RecordOf(const QStringList& f) {
    store::TitleRecord r{f[0], f[1], f[2], f[3], f[4], f[5], f[6], {}, {}};
    for (int k = 1; k <= 7; ++k) r.intTensu[k] = static_cast<qint16>(f[6 + k].toInt());
    for (int k = 1; k <= 4; ++k) r.strSyoyu[k] = f[13 + k];
    return r;
}

store::Status Stopped(const store::Status& s, const QString& what) {
    store::StoreError e = s.error();
    e.reason += QStringLiteral("。") + what;
    e.written = false;
    return e;
}

}  // namespace

QStringList ImportFieldNames(const store::Masters& masters) {
    QStringList names = {QStringLiteral("タイトル"), QStringLiteral("監督"),
                         QStringLiteral("主演"),     QStringLiteral("公開日"),
                         QStringLiteral("国"),       QStringLiteral("ジャンル"),
                         QStringLiteral("評")};
    for (int k = 1; k <= 7; ++k) names << masters.strHyoukaKoumoku[k];
    for (int k = 1; k <= 4; ++k) names << masters.strSyoyuKoumoku[k];
    return names;
}

ImportMapping PresetMapping(const QStringList& header, const store::Masters& masters) {
    ImportMapping m;
    QSet<int> taken;
    auto take = [&](const QStringList& names) {
        const int c = ColumnOf(header, names, taken);
        if (c >= 0) taken.insert(c);
        return c;
    };
    // The viewing date first: Letterboxd's "Date" is the day of logging.
    m.date =
        take({QStringLiteral("Watched Date"), QStringLiteral("鑑賞日"), QStringLiteral("日付")});
    m.kind = take({QStringLiteral("鑑賞内容")});
    for (int f = 0; f < 7; ++f) m.field[f] = take(FixedNames()[f]);
    for (int k = 1; k <= 7; ++k) m.field[6 + k] = take({masters.strHyoukaKoumoku[k]});
    for (int k = 1; k <= 4; ++k) m.field[13 + k] = take({masters.strSyoyuKoumoku[k]});
    m.sideText[0] = take(CastColumnNames());
    if (m.sideText[0] < 0) m.sideText[0] = m.field[2];
    m.sideText[1] = take(PlotColumnNames());
    m.sideText[2] = take(MemoColumnNames());
    return m;
}

namespace {

// "yyyy/MM" or "yyyy/MM/dd", written digit by digit (a tenth of QString::arg's cost).
QString DateText(int year, int month, int day) {
    QString t(day ? 10 : 7, Qt::Uninitialized);
    QChar* c = t.data();
    for (int k = 3; k >= 0; --k, year /= 10) c[k] = QChar(u'0' + year % 10);
    c[4] = u'/';
    c[5] = QChar(u'0' + month / 10);
    c[6] = QChar(u'0' + month % 10);
    if (day) {
        c[7] = u'/';
        c[8] = QChar(u'0' + day / 10);
        c[9] = QChar(u'0' + day % 10);
    }
    return t;
}

}  // namespace

std::optional<QString> ImportReleaseDate(const QString& text) {
    const std::optional<DateParts> d = ReadDate(text);
    if (!d) return std::nullopt;
    return DateText(d->year, d->month ? d->month : 1, d->day);
}

std::optional<QString> ImportViewingDate(const QString& text) {
    const std::optional<DateParts> d = ReadDate(text);
    if (!d || !d->day) return std::nullopt;
    return DateText(d->year, d->month, d->day);
}

QString RefusalText(ImportRefusal reason) {
    switch (reason) {
        case ImportRefusal::EmptyTitle:
            return QStringLiteral("タイトルが空");
        case ImportRefusal::ForbiddenInTitle:
            return QStringLiteral("タイトルに使えない文字");
        case ImportRefusal::Unstorable:
            return QStringLiteral("保存できない文字");
        case ImportRefusal::TooLong:
            return QStringLiteral("%1 文字を超える項目").arg(store::kMaxRecordText);
        case ImportRefusal::NameTooLong:
            return QStringLiteral("ファイル名にできない長さのタイトル");
        case ImportRefusal::BadValue:
            return QStringLiteral("読めない公開日・評・点数");
        case ImportRefusal::InCatalogue:
            return QStringLiteral("登録済みのタイトル");
        case ImportRefusal::Repeated:
            return QStringLiteral("ファイル内で重複するタイトル");
        case ImportRefusal::OverLimit:
            return QStringLiteral("上限 %1 件を超えるタイトル").arg(store::kMaxRecords);
    }
    return {};
}

namespace {

// The titles a row's name may meet, with their years (0: unknown).
struct KnownTitles {
    const store::Catalogue& catalogue;
    QHash<QString, int> added;

    // Nothing when no such title is in the catalogue or added before.
    std::optional<int> YearOf(const QString& title) const {
        if (const int i = catalogue.IndexOf(title); i > 0) {
            return ReleaseYear(catalogue.strNengetu[static_cast<size_t>(i)]).value_or(0);
        }
        const auto it = added.constFind(title);
        return it == added.constEnd() ? std::nullopt : std::optional<int>(*it);
    }
    // True when the title is taken by a film of another known year.
    bool TakenByOther(const QString& title, int year) const {
        const std::optional<int> met = YearOf(title);
        return met && *met > 0 && *met != year;
    }
};

// Two films of one name stay two: the later one is "タイトル (YYYY)", refused
// as repeated when that name too is another film's.
void TellFilmsApart(RowCheck& check, int year, const KnownTitles& known) {
    if (year <= 0 || !known.TakenByOther(check.fields[0], year)) return;
    QString named = TitleWithYear(check.fields[0], year);
    if (known.TakenByOther(named, year)) {
        check.refusal = ImportRefusal::Repeated;
    } else if (named.size() > store::kMaxRecordText) {
        check.refusal = ImportRefusal::TooLong;
    } else if (named.size() > kSurelyFits && store::TitleNameTooLong(named)) {
        check.refusal = ImportRefusal::NameTooLong;
    } else {
        check.fields[0] = std::move(named);
        check.notes |= YearAddedToTitle;
    }
}

}  // namespace

ImportPlan PlanImport(const CsvTable& table, const ImportMapping& mapping,
                      const store::Catalogue& catalogue, const history::History& history) {
    ImportPlan plan;
    if (mapping.field[0] < 0) {
        plan.mappingError = QStringLiteral("タイトルにする列を選んでください");
        return plan;
    }
    if (mapping.date >= 0 && mapping.defaultKind.trimmed().isEmpty()) {
        plan.mappingError = QStringLiteral("鑑賞内容の既定値を入力してください");
        return plan;
    }
    const bool viewings = mapping.date >= 0;
    const int room = store::kMaxRecords - catalogue.TitleCount;
    const int viewingRoom = store::kMaxRecords - history.HistoryCount;
    KnownTitles known{catalogue, {}};
    QHash<QString, int>& added = known.added;
    added.reserve(static_cast<qsizetype>(table.rows.size()));
    plan.titles.reserve(std::min<size_t>(table.rows.size(), static_cast<size_t>(room)));
    if (viewings) plan.viewings.reserve(table.rows.size());
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        const int line = table.lines[r];
        const std::optional<QString> date =
            viewings ? ImportViewingDate(Cell(row, mapping.date)) : std::nullopt;
        RowCheck check = CheckRow(row, mapping, date.has_value(), table.plainCp932);
        const int year = check.refusal ? 0 : ReleaseYear(check.fields[3]).value_or(0);
        if (!check.refusal && mapping.yearSuffix) TellFilmsApart(check, year, known);
        const QString& title = check.fields[0];
        if (!check.refusal) {
            if (catalogue.IndexOf(title) > 0) {
                check.refusal = ImportRefusal::InCatalogue;
            } else if (added.contains(title)) {
                check.refusal = ImportRefusal::Repeated;
            } else if (static_cast<int>(plan.titles.size()) >= room) {
                check.refusal = ImportRefusal::OverLimit;
            }
            const bool known = check.refusal != ImportRefusal::OverLimit;
            if (date && known) {
                if (static_cast<int>(plan.viewings.size()) < viewingRoom)
                    plan.viewings.push_back({line, *date, title, check.kind});
                else
                    ++plan.viewingsOverLimit;
            }
        }
        if (check.refusal) {
            // A name met before is shown as it would be stored.
            const bool met = *check.refusal == ImportRefusal::InCatalogue ||
                             *check.refusal == ImportRefusal::Repeated;
            plan.refused.push_back(
                {line, *check.refusal, met ? title : Cell(row, mapping.field[0]), check.detail});
            ++plan.refusedBy[static_cast<size_t>(*check.refusal)];
            continue;
        }
        plan.clampedScores += check.clamped;
        added.insert(title, year);
        ImportTitle adding{line, std::move(check.fields), {}, check.notes};
        const std::array<QString, 3> texts = {Cell(row, mapping.sideText[0]),
                                              Cell(row, mapping.sideText[1]),
                                              Cell(row, mapping.sideText[2])};
        TakeSideTexts(texts, table.plainCp932, adding, plan.sideTextsLeftOut);
        plan.titles.push_back(std::move(adding));
    }
    return plan;
}

QString ImportCountText(const ImportPlan& plan) {
    if (!plan.mappingError.isEmpty()) return plan.mappingError;
    QString text = QStringLiteral("追加するタイトル：%1 件　取り込まない行：%2 件")
                       .arg(plan.titles.size())
                       .arg(plan.refused.size());
    QStringList reasons;
    for (int k = 0; k < kImportRefusals; ++k) {
        if (plan.refusedBy[static_cast<size_t>(k)] > 0) {
            reasons << RefusalText(static_cast<ImportRefusal>(k)) + QStringLiteral(" ") +
                           QString::number(plan.refusedBy[static_cast<size_t>(k)]);
        }
    }
    if (!reasons.isEmpty())
        text += QStringLiteral("（") + reasons.join(QStringLiteral("、")) + u'）';
    text += QStringLiteral("　追加する鑑賞記録：%1 件").arg(plan.viewings.size());
    if (plan.viewingsOverLimit > 0) {
        text += QStringLiteral("（上限を超える %1 件は記録しません）").arg(plan.viewingsOverLimit);
    }
    if (plan.clampedScores > 0) {
        text += QStringLiteral("　範囲に合わせた点数：%1 件").arg(plan.clampedScores);
    }
    if (plan.sideTextsLeftOut > 0) {
        text += QStringLiteral("　保存できない文字があり書かないキャスト・あらすじ・メモ：%1 件")
                    .arg(plan.sideTextsLeftOut);
    }
    return text;
}

namespace {

const QString kUntouched = QStringLiteral("何も取り込んでいません");

// Why the plan may not be committed now; ok when it may.
store::Status CommitRefusal(const ImportPlan& plan, const store::Catalogue& catalogue,
                            const history::History& history, const store::WorkingFolder& folder) {
    if (!plan.mappingError.isEmpty()) return store::StoreError{QString(), 0, plan.mappingError};
    if (!catalogue.IsLoaded() || folder.isUnwritable(store::kDataFile) || !history.IsLoaded() ||
        folder.isUnwritable(history::kHistoryFile)) {
        return store::StoreError{
            store::kDataFile, 0,
            QStringLiteral("読み込みに失敗したファイルがあるため") + kUntouched};
    }
    QByteArray oldData;
    bool dataMissing = false;
    if (store::Status s = folder.read(store::kDataFile, oldData, &dataMissing);
        !s && !dataMissing) {
        return Stopped(s, kUntouched);
    }
    return store::Status::ok();
}

// The bytes of the data file with the new titles at its end, and of the
// history with the viewings merged in date order; each only when it changes.
store::Status NewFileBytes(const ImportPlan& plan, const store::Catalogue& catalogue,
                           const history::History& history, const store::WorkingFolder& folder,
                           QByteArray& dataBytes, QByteArray& historyBytes) {
    if (!plan.titles.empty()) {
        store::Catalogue grown = catalogue;
        grown.ReserveTitles(catalogue.TitleCount + static_cast<int>(plan.titles.size()));
        for (const ImportTitle& t : plan.titles) grown.AppendRecord(RecordOf(t.fields));
        if (store::Status s = grown.TitleDataBytes(folder, dataBytes); !s) return s;
    }
    if (!plan.viewings.empty()) {
        std::vector<history::NewViewing> viewings;
        viewings.reserve(plan.viewings.size());
        for (const ImportViewing& v : plan.viewings)
            viewings.push_back({v.date, v.title, v.content});
        return history::MergedViewingsBytes(history, folder, std::move(viewings), historyBytes);
    }
    return store::Status::ok();
}

// The data file and the history change as one step: both old or both new. A
// history made here takes the program's own spelling of its name.
store::Status WriteImported(const ImportPlan& plan, store::WorkingFolder& folder,
                            const QByteArray& dataBytes, const QByteArray& historyBytes) {
    if (plan.titles.empty())
        return folder.replaceVia(history::kHistoryFile, history::kHistoryCopyFile, historyBytes);
    if (plan.viewings.empty()) return folder.replace(store::kDataFile, dataBytes);
    return folder.replacePair(store::kDataFile, dataBytes, history::kHistoryFile, historyBytes);
}

}  // namespace

ImportOutcome CommitImport(const ImportPlan& plan, const store::Catalogue& catalogue,
                           const history::History& history, store::WorkingFolder& folder,
                           const QDateTime& when) {
    if (store::Status s = CommitRefusal(plan, catalogue, history, folder); !s) return {s, {}};
    const BackupResult backup = BackUpDataAndHistory(folder, when);
    if (!backup.status) return {Stopped(backup.status, kUntouched), {}};
    ImportOutcome outcome{store::Status::ok(), backup.folderName};
    QStringList sideFiles;
    // Every failure from here on takes back the side files this import wrote.
    auto stop = [&](const store::Status& s) {
        RemoveImportSideTexts(folder, sideFiles);
        outcome.status = Stopped(s, kUntouched);
        return outcome;
    };
    if (store::Status s = WriteImportSideTexts(plan, folder, sideFiles, &outcome.sideTextsKept);
        !s) {
        return stop(s);
    }
    QByteArray dataBytes, historyBytes;
    if (store::Status s = NewFileBytes(plan, catalogue, history, folder, dataBytes, historyBytes);
        !s) {
        return stop(s);
    }
    if (plan.titles.empty() && plan.viewings.empty()) return outcome;
    const store::Status s = WriteImported(plan, folder, dataBytes, historyBytes);
    if (!s.isWritten()) return stop(s);
    // In place but perhaps not yet safe on the disk: the import stands, with a warning.
    outcome.status = s;
    return outcome;
}

}  // namespace logic
