#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// What the import makes of the cells of other programs' files: titles that
// hold characters a file name cannot, lists of values in one cell, tables of
// people and their roles, and the year that tells two films of one name apart.
namespace logic {

// The title with each character it may not hold (store::kForbiddenInTitle)
// replaced by its full-width form (＼ ／ ： ， ； ＊ ？ ” ＜ ＞ ｜), which CP932
// holds and a file name accepts.
QString FullWidthTitle(const QString& title);

// True when the cell holds a list: values separated by "|", ";" or "、".
bool IsCellList(QStringView cell);
// The values of a list cell, each trimmed, empty ones left out.
QStringList CellValues(QStringView cell);

// A person of a cast cell: the part after ":" of a table entry is the role.
struct CastMember {
    QString name, role;
};
std::vector<CastMember> CastMembers(QStringView cell);

// The cast as its side text: one person a line, "名前（役名）" when there is a
// role, lines joined by CR LF. The cell is trimmed.
QString CastText(const QString& cell);

// A text cell with every line end made CR LF.
QString WithCrLf(const QString& text);

// The year of a release date: its first four characters when they are digits
// (ASCII or full-width); nothing otherwise.
std::optional<int> ReleaseYear(QStringView release);

// "タイトル (YYYY)".
QString TitleWithYear(const QString& title, int year);

// Lists in the cells of a row's 18 fields: 監督 takes them all joined by
// "、", 主演 the first person without the role, 国 and ジャンル the first value
// (a pick list holds one a title). The ImportNote bits of what was cut.
int TakeLists(QStringList& fields);

// Header names (besides the program's own captions) each mapping answers to.
QStringList CastColumnNames();
QStringList PlotColumnNames();
QStringList MemoColumnNames();

}  // namespace logic
