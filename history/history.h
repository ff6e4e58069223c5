#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

#include "store/status.h"
#include "store/text_index.h"
#include "store/working_folder.h"

namespace history {

inline const QString kHistoryFile = QStringLiteral("鑑賞履歴.TXT");
inline const QString kHistoryFileRewrite = QStringLiteral("鑑賞履歴.txt");
inline const QString kHistoryCopyFile = QStringLiteral("鑑賞履歴コピー.txt");

// A refused viewing entry: the warning box to show (exclamation icon, OK).
struct EntryRefusal {
    QString message;
    QString title;
};

// The viewing history: one record per viewing in file order (ascending date),
// with the derived lists of viewing months, years and contents.
class History {
public:
    int HistoryCount = 0;
    std::vector<QString> strKansyoubi, strKansyouDaimei, strKansyouNaiyou;  // 1..HistoryCount
    QString strLastKansyoubi;

    std::vector<QString> cboKanbi;    // "YYYY/MM", first appearance
    std::vector<QString> cboKanbi2;   // "YYYY年", first appearance
    std::vector<QString> cboKansyou;  // contents, first appearance

    // Replaces everything from "鑑賞履歴.TXT"; a missing file is an empty
    // history. On failure the history is empty and can never be written in
    // this run.
    store::Status LoadHistory(store::WorkingFolder& folder);

    bool IsLoaded() const { return loaded_; }

    // The checks of the entry panel, in their order: the date given, the
    // content given, the date a date. Nothing when the entry may be saved.
    static std::optional<EntryRefusal> CheckEntry(const QString& date, const QString& content);

    // Records a viewing whose entry passed CheckEntry: the date normalised to
    // "YYYY/MM/DD", appended when not earlier than the last record, else
    // inserted before the first later record through "鑑賞履歴コピー.txt";
    // then the history is reloaded. Refused (an error) when the history did
    // not load, at 32766 records, or for a text the file cannot hold.
    store::Status RecordViewing(store::WorkingFolder& folder, const QString& date,
                                const QString& title, const QString& content);

    // Record numbers (1..HistoryCount) of the title's viewings, in file order.
    std::vector<int> ViewingsOf(const QString& title) const;

private:
    void clear();
    store::Status appendViewing(store::WorkingFolder& folder, const QString& date,
                                const QString& title, const QString& content);
    store::Status insertViewing(store::WorkingFolder& folder, const QString& date,
                                const QString& title, const QString& content);

    bool loaded_ = false;
    bool endsOpen_ = false;  // the file's last line has no line end
    // The viewings of each title: the first by title, then each the next.
    store::detail::TextNumbers firstViewing_;
    std::vector<int> nextViewing_;  // by record number; 0 after the last
};

// A viewing to merge into the file: the date already "YYYY/MM/DD".
struct NewViewing {
    QString date, title, content;
};

// The history's bytes with the viewings merged in: each after every record of
// its date or earlier, as recording them one by one in the given order would
// place them. Nothing is written, and the history in memory is not reloaded.
// Refused when the history did not load, when the file would pass 32766
// records, or for a text the file cannot hold.
store::Status MergedViewingsBytes(const History& history, const store::WorkingFolder& folder,
                                  std::vector<NewViewing> viewings, QByteArray& bytes);

// "YYYY/MM/DD" -> "YY/MM/DD" for the main screen's grid.
QString ShortViewingDate(const QString& date);

}  // namespace history
