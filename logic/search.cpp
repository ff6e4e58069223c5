#include "logic/search.h"

#include <QSet>

#include "logic/side_file_lists.h"
#include "store/cp932.h"
#include "store/dates.h"
#include "store/marks.h"

namespace logic {
namespace {

using store::Catalogue;

template <class Match>
QStringList TitlesWhere(const Catalogue& c, Match match) {
    QStringList found;
    for (int i = 1; i <= c.TitleCount; ++i) {
        if (match(static_cast<size_t>(i))) found += c.strDaimei[static_cast<size_t>(i)];
    }
    return found;
}

// True when the key lies between the bounds; an empty bound is open.
bool Between(const QString& key, const QString& from, const QString& to) {
    return (from.isEmpty() || QString::compare(from, key, Qt::CaseSensitive) <= 0) &&
           (to.isEmpty() || QString::compare(key, to, Qt::CaseSensitive) <= 0);
}

const std::vector<QString>& ValuesOf(const Catalogue& c, Catalogue::PickField field) {
    switch (field) {
        case Catalogue::PickField::Kantoku:
            return c.strKantoku;
        case Catalogue::PickField::Syuen:
            return c.strSyuen;
        case Catalogue::PickField::Kuni:
            return c.strKuni;
        case Catalogue::PickField::Janru:
            break;
    }
    return c.strJanru;
}

}  // namespace

QStringList TitlesWithValue(const Catalogue& c, Catalogue::PickField field, const QString& value) {
    const std::vector<QString>& values = ValuesOf(c, field);
    return TitlesWhere(c, [&](size_t i) { return values[i] == value; });
}

QStringList TitlesWithRating(const Catalogue& c, const QString& entry) {
    const QString rating = entry == QStringLiteral("未") ? QString() : entry;
    return TitlesWhere(c, [&](size_t i) { return c.strHyouka[i] == rating; });
}

QStringList TitlesWithOwnership(const Catalogue& c, int item, bool owned) {
    const auto k = static_cast<size_t>(item);
    return TitlesWhere(
        c, [&](size_t i) { return (c.strSyoyu[i][k] == store::marks::kOwned) == owned; });
}

QString YearMonthKey(const QString& value) {
    if (!store::IsReleaseDate(value)) return value;
    // A date: four digits of year, a separator, one or two of month.
    const QChar sep = value.at(4);
    const qsizetype end = value.indexOf(sep, 5);
    const QString month = value.mid(5, end < 0 ? -1 : end - 5);
    return value.left(4) + u'/' + month.rightJustified(2, u'0');
}

std::optional<QStringList> TitlesReleasedBetween(const Catalogue& c, const QString& from,
                                                 const QString& to) {
    if (from.isEmpty() && to.isEmpty()) return std::nullopt;
    return TitlesWhere(c,
                       [&](size_t i) { return Between(YearMonthKey(c.strNengetu[i]), from, to); });
}

std::optional<QStringList> ViewingsBetween(const history::History& h, const QString& from,
                                           const QString& to) {
    if (from.isEmpty() && to.isEmpty()) return std::nullopt;
    QStringList found;
    for (int g = 1; g <= h.HistoryCount; ++g) {
        const auto i = static_cast<size_t>(g);
        if (Between(YearMonthKey(h.strKansyoubi[i]), from, to)) found += h.strKansyouDaimei[i];
    }
    return found;
}

QStringList ViewingsWithContent(const history::History& h, const QString& content) {
    QStringList found;
    for (int g = 1; g <= h.HistoryCount; ++g) {
        const auto i = static_cast<size_t>(g);
        if (h.strKansyouNaiyou[i] == content) found += h.strKansyouDaimei[i];
    }
    return found;
}

QStringList TitlesContaining(const Catalogue& c, const QString& word) {
    return TitlesWhere(c,
                       [&](size_t i) { return c.strDaimei[i].contains(word, Qt::CaseSensitive); });
}

QStringList SideTextsContaining(const store::WorkingFolder& folder, store::SideText kind,
                                const QString& word) {
    QStringList found;
    for (const QString& file : SideFiles(folder, kind)) {
        QByteArray bytes;
        if (!folder.read(file, bytes)) continue;
        const std::optional<QString> text = cp932::decode(bytes);
        if (text && text->contains(word, Qt::CaseSensitive)) found += TitleOfSideFile(kind, file);
    }
    return found;
}

QStringList TitlesWithSideText(const store::WorkingFolder& folder, store::SideText kind) {
    QStringList found;
    for (const QString& file : SideFiles(folder, kind)) found += TitleOfSideFile(kind, file);
    return found;
}

QStringList TitlesWithoutSideText(const Catalogue& c, const store::WorkingFolder& folder,
                                  store::SideText kind) {
    const QStringList files = SideFiles(folder, kind);
    const qsizetype front = store::SideTextPrefix(kind).size();
    // Most titles have their file under their exact name: views, no copies.
    QSet<QStringView> exact;
    exact.reserve(files.size());
    for (const QString& file : files)
        exact.insert(QStringView(file).mid(front, file.size() - front - 4));
    // File names compare ignoring letter case, as the folder resolves them.
    QSet<QString> folded;
    return TitlesWhere(c, [&](size_t i) {
        const QString& title = c.strDaimei[i];
        if (exact.contains(QStringView(title))) return false;
        if (folded.isEmpty()) {
            for (const QString& file : files)
                folded.insert(TitleOfSideFile(kind, file).toCaseFolded());
        }
        return !folded.contains(title.toCaseFolded());
    });
}

}  // namespace logic
