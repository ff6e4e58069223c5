#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "store/status.h"
#include "store/working_folder.h"

namespace store {

enum class SideText { Cast = 1, Synopsis = 2, Memo = 3 };

// "キャスト_" / "あらすじ_" / "メモ_" + title + ".txt".
QString SideTextFileName(SideText kind, const QString& title);
QString SideTextPrefix(SideText kind);

// A title is part of the names of its side texts and pictures, and a file name
// holds at most 255 bytes. Nothing when every such name of the title fits; else
// the warning to show (title: InputCheck::warningTitle()), which says how many
// characters of this title would fit.
std::optional<QString> TitleNameTooLong(const QString& title);

// The whole text with one final CR LF removed; a missing file (or a name that
// would leave the folder, or one too long for a file name) is an empty text. A file that does not
// decode is an error and is then never written in this run.
Status LoadSideText(WorkingFolder& folder, SideText kind, const QString& title, QString& text);

// Writes the text as one print line; an empty text deletes the file instead.
// Refused (with the warning of TitleNameTooLong) for a title too long.
Status SaveSideText(WorkingFolder& folder, SideText kind, const QString& title,
                    const QString& text);

// Full paths of the title's existing pictures in the order .jpg, .gif, .bmp;
// the last one that loads is the one shown. Empty for a name that would leave
// the folder or is too long for a file name.
QStringList PictureCandidates(const WorkingFolder& folder, const QString& title);

// Deletes title + ".TXT", ".txt", ".jpg", ".bmp", ".gif", each when present; a
// file that cannot be deleted is skipped.
void DeleteTitleFiles(WorkingFolder& folder, const QString& title);

}  // namespace store
