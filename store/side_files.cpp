#include "store/side_files.h"

#include <QFile>
#include <climits>

#include "store/marks.h"
#include "store/record_file.h"

namespace store {
namespace {

// A name the title's files may take: inside the folder and short enough.
bool usableName(const QString& name) {
    return WorkingFolder::isSafeName(name) && WorkingFolder::fitsFileName(name);
}

}  // namespace

QString SideTextPrefix(SideText kind) {
    switch (kind) {
        case SideText::Cast:
            return QStringLiteral("キャスト_");
        case SideText::Synopsis:
            return QStringLiteral("あらすじ_");
        case SideText::Memo:
            break;
    }
    return QStringLiteral("メモ_");
}

QString SideTextFileName(SideText kind, const QString& title) {
    return SideTextPrefix(kind) + title + QStringLiteral(".txt");
}

std::optional<QString> TitleNameTooLong(const QString& title) {
    // Bytes of the longest name around the title: a side text's prefix and
    // ".txt" (a picture's ending is shorter).
    qsizetype around = 0;
    for (SideText kind : {SideText::Cast, SideText::Synopsis, SideText::Memo}) {
        around = std::max(around, QFile::encodeName(SideTextFileName(kind, QString())).size());
    }
    if (around + QFile::encodeName(title).size() <= NAME_MAX) return std::nullopt;
    qsizetype bytes = around;
    qsizetype fit = 0;
    while (fit < title.size()) {
        const qsizetype len = title.at(fit).isHighSurrogate() && fit + 1 < title.size() ? 2 : 1;
        bytes += QFile::encodeName(title.mid(fit, len)).size();
        if (bytes > NAME_MAX) break;
        fit += len;
    }
    return QStringLiteral(
               "タイトル名が長すぎます。キャスト・あらすじ・メモや画像のファイル名に"
               "使えるように、このタイトル名は %1 文字までにして下さい"
               "（今は %2 文字です）。")
        .arg(fit)
        .arg(title.size());
}

Status LoadSideText(WorkingFolder& folder, SideText kind, const QString& title, QString& text) {
    text.clear();
    const QString name = SideTextFileName(kind, title);
    if (!usableName(name)) return Status::ok();  // reads as no file
    QByteArray bytes;
    bool missing = false;
    if (Status s = folder.read(name, bytes, &missing); !s) {
        if (missing) return Status::ok();
        folder.markUnwritable(name);
        return s;
    }
    RecordReader r(name, bytes);
    if (r.failed()) {
        folder.markUnwritable(name);
        return r.status();
    }
    QString out;
    out.reserve(bytes.size() + 16);
    while (!r.AtEndOfText()) {
        out += r.ReadLine();
        out += marks::kLineEnd;
    }
    if (!out.isEmpty()) out.chop(marks::kLineEnd.size());  // one final CR LF
    text = std::move(out);
    return Status::ok();
}

Status SaveSideText(WorkingFolder& folder, SideText kind, const QString& title,
                    const QString& text) {
    const QString name = SideTextFileName(kind, title);
    if (!WorkingFolder::isSafeName(name)) {
        return StoreError{name, 0, QStringLiteral("作業フォルダの外を指す名前には書き込めません")};
    }
    if (std::optional<QString> tooLong = TitleNameTooLong(title)) {
        return StoreError{name, 0, *tooLong};
    }
    if (text.isEmpty()) return folder.remove(name);
    RecordWriter w(name);
    w.PrintLine(text);
    QByteArray bytes;
    if (Status s = w.finish(bytes); !s) return s;
    return folder.replace(name, bytes);
}

QStringList PictureCandidates(const WorkingFolder& folder, const QString& title) {
    QStringList paths;
    for (const char* ending : {".jpg", ".gif", ".bmp"}) {
        const QString name = title + QLatin1StringView(ending);
        if (!usableName(name) || !folder.exists(name)) continue;
        if (auto full = folder.resolve(name)) paths += *full;
    }
    return paths;
}

void DeleteTitleFiles(WorkingFolder& folder, const QString& title) {
    for (const char* ending : {".TXT", ".txt", ".jpg", ".bmp", ".gif"}) {
        const QString name = title + QLatin1StringView(ending);
        if (!usableName(name)) continue;
        (void)folder.remove(name);  // a file that cannot be deleted is skipped
    }
}

}  // namespace store
