#include "logic/list_rows.h"

#include <QHash>
#include <QStringView>

#include "logic/side_file_lists.h"
#include "store/side_files.h"

namespace logic {

namespace {

const QString kMark = QStringLiteral("○");

// The decimal text of a score or total. Valid values come from a shared table,
// so that a table of every title allocates no text per cell.
QString Decimal(int value) {
    static const std::vector<QString> texts = [] {
        std::vector<QString> t;
        for (int v = 0; v <= 100; ++v) t.push_back(QString::number(v));
        return t;
    }();
    if (value >= 0 && value < static_cast<int>(texts.size()))
        return texts[static_cast<size_t>(value)];
    return QString::number(value);
}

}  // namespace

std::vector<QStringList> MainListRows(const store::Catalogue& catalogue) {
    const store::Catalogue& c = catalogue;
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(c.TitleCount));
    for (int i = 1; i <= c.TitleCount; ++i) {
        rows.push_back({c.strDaimei[i], c.strKantoku[i], c.strSyuen[i], c.strNengetu[i],
                        c.strKuni[i], c.strJanru[i]});
    }
    return rows;
}

std::vector<QStringList> EvaluationListRows(const store::Catalogue& catalogue) {
    const store::Catalogue& c = catalogue;
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(c.TitleCount));
    for (int i = 1; i <= c.TitleCount; ++i) {
        QStringList row;
        row.reserve(10);
        row << c.strDaimei[i] << c.strHyouka[i];
        int total = 0;
        for (int k = 1; k <= 7; ++k) {
            const int score = c.intTensu[i][k];
            row << Decimal(score);
            if (k >= 2) total += score;
        }
        row << Decimal(total);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<QStringList> OwnershipListRows(const store::Catalogue& catalogue,
                                           const store::WorkingFolder& folder) {
    const store::Catalogue& c = catalogue;
    static const store::SideText kinds[] = {store::SideText::Cast, store::SideText::Synopsis,
                                            store::SideText::Memo};
    const QString suffix = QStringLiteral(".txt");
    // The titles the side files name, each with a bit per kind: one lookup per
    // title instead of a pass over the folder's files. The keys are views into
    // the listings, which live as long as the map.
    QStringList files[3];
    QHash<QStringView, int> present;
    present.reserve(c.TitleCount + 1);
    for (int k = 0; k < 3; ++k) {
        const QString prefix = store::SideTextPrefix(kinds[k]);
        files[k] = SideFiles(folder, kinds[k]);
        for (const QString& file : std::as_const(files[k])) {
            // Only the exact spelling counts, whatever the letter case of the listing.
            if (!file.startsWith(prefix) || !file.endsWith(suffix)) continue;
            const QStringView title =
                QStringView(file).mid(prefix.size(), file.size() - prefix.size() - suffix.size());
            present[title] |= 1 << k;
        }
    }
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(c.TitleCount));
    for (int i = 1; i <= c.TitleCount; ++i) {
        const int kindsPresent = present.value(QStringView(c.strDaimei[i]), 0);
        QStringList row;
        row.reserve(8);
        row << c.strDaimei[i];
        for (int k = 1; k <= 4; ++k) row << c.strSyoyu[i][k];
        for (int k = 0; k < 3; ++k) row << ((kindsPresent & (1 << k)) ? kMark : QString());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<int> TitlesOfRows(const store::Catalogue& catalogue, const QStringList& names) {
    std::vector<int> order;
    order.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) order.push_back(catalogue.IndexOf(name));
    return order;
}

}  // namespace logic
