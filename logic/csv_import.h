#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "history/history.h"
#include "logic/csv_reader.h"
#include "store/catalogue.h"
#include "store/masters.h"
#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// The record's 18 fields, in the order of the data file.
inline constexpr int kImportFields = 18;

// The names of the fields as the dialog shows them: the program's captions,
// the scores and the ownership marks by their item names.
QStringList ImportFieldNames(const store::Masters& masters);

// Which column of the file each field takes (-1: none).
struct ImportMapping {
    std::array<int, kImportFields> field;
    int date = -1;  // the viewing date
    int kind = -1;  // the viewing content
    QString defaultKind = QStringLiteral("その他");
    // The side texts of the titles added: キャスト, あらすじ, メモ.
    std::array<int, 3> sideText{-1, -1, -1};
    // A title's \ / : , ; * ? " < > | become their full-width forms.
    bool fullWidth = true;
    // A title met before with another known year is added as "タイトル (YYYY)".
    bool yearSuffix = true;
    ImportMapping() { field.fill(-1); }
};

// The mapping the header names suggest: the program's own captions (those of
// its CSV exports too) and the common English names; a Letterboxd diary's
// "Watched Date" becomes the viewing date. The cast text takes a column named
// キャスト, else the one 主演 takes.
ImportMapping PresetMapping(const QStringList& header, const store::Masters& masters);

// A date of the file ("2004-01-15", "2004/1/15", "2004年1月15日", also
// without the day, or a year alone) as the release field keeps it:
// "2004/01/15", "2004/01"; a year alone is "2004/01". Nothing when it is no
// date.
std::optional<QString> ImportReleaseDate(const QString& text);
// The same as a viewing date "YYYY/MM/DD"; the day is needed.
std::optional<QString> ImportViewingDate(const QString& text);

// Why a row adds no title.
enum class ImportRefusal {
    EmptyTitle,
    ForbiddenInTitle,
    Unstorable,   // a character the file cannot hold
    TooLong,      // a field over the record's length
    NameTooLong,  // a title too long for a file name
    BadValue,     // a release, rating or score that cannot be read
    InCatalogue,
    Repeated,   // met further up the file
    OverLimit,  // beyond the catalogue's 32766 titles
};
inline constexpr int kImportRefusals = 9;
QString RefusalText(ImportRefusal reason);

// What the import changed in a row it adds (bits of ImportTitle::notes).
enum ImportNote {
    TitleMadeFullWidth = 1,
    YearAddedToTitle = 2,
    LeadCut = 4,     // 主演: the first of a list
    CountryCut = 8,  // 国: the first of a list
    GenreCut = 16,   // ジャンル: the first of a list
    SideTextLeftOut = 32,
};
// The notes as the preview says them; empty for none.
QString ImportNoteText(int notes);

struct ImportTitle {
    int line = 0;
    QStringList fields;  // 18 values as stored; the scores as numbers
    // キャスト, あらすじ, メモ as their files will hold them (CR LF); empty: no file.
    std::array<QString, 3> sideTexts;
    int notes = 0;
};

struct ImportViewing {
    int line = 0;
    QString date, title, content;
};

struct RefusedRow {
    int line = 0;
    ImportRefusal reason;
    QString title;   // the title cell, trimmed
    QString detail;  // what was wrong with a value; empty for a title refused whole
};

// What an import would do, computed the same for the preview and the commit.
struct ImportPlan {
    std::vector<ImportTitle> titles;  // in file order
    std::vector<ImportViewing> viewings;
    std::vector<RefusedRow> refused;  // by line
    std::array<int, kImportRefusals> refusedBy{};
    int clampedScores = 0;
    int viewingsOverLimit = 0;
    int sideTextsLeftOut = 0;  // with a character CP932 cannot hold
    // Set when the mapping itself cannot be used (no title column, an
    // empty default content); nothing may be committed then.
    QString mappingError;

    bool HasWork() const {
        return mappingError.isEmpty() && (!titles.empty() || !viewings.empty());
    }
};

ImportPlan PlanImport(const CsvTable& table, const ImportMapping& mapping,
                      const store::Catalogue& catalogue, const history::History& history);

// The counts in one line: titles to add, rows passed over with their reasons,
// viewings to add.
QString ImportCountText(const ImportPlan& plan);

struct ImportOutcome {
    store::Status status;
    QString backupFolder;
    int sideTextsKept = 0;  // side files already there, left as they were
};

// Commits the plan: a backup folder of the data file and the history first
// (named as the new start names its backup), then the side files of the new
// titles (never one already there), then the data file written once
// with the new titles at its end, then the history written once with the
// viewings merged in date order. A failure at any step leaves both files as
// they were and removes the side files it wrote. An error marked written means both files are in
// place and only their safety on the disk is in doubt. The caller reloads both.
ImportOutcome CommitImport(const ImportPlan& plan, const store::Catalogue& catalogue,
                           const history::History& history, store::WorkingFolder& folder,
                           const QDateTime& when);

}  // namespace logic
