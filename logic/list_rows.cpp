#include "logic/list_rows.h"

#include <QSet>

#include "logic/side_file_lists.h"
#include "store/side_files.h"

namespace logic {

namespace {

const QString kMark = QStringLiteral("○");

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
            row << QString::number(score);
            if (k >= 2) total += score;
        }
        row << QString::number(total);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<QStringList> OwnershipListRows(const store::Catalogue& catalogue,
                                           const store::WorkingFolder& folder) {
    const store::Catalogue& c = catalogue;
    static const store::SideText kinds[] = {store::SideText::Cast, store::SideText::Synopsis,
                                            store::SideText::Memo};
    // A hash of each listing: one lookup per title instead of a pass over the
    // folder's files.
    QSet<QString> present[3];
    for (int k = 0; k < 3; ++k) {
        const QStringList files = SideFiles(folder, kinds[k]);
        present[k] = QSet<QString>(files.begin(), files.end());
    }
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(c.TitleCount));
    for (int i = 1; i <= c.TitleCount; ++i) {
        QStringList row;
        row.reserve(8);
        row << c.strDaimei[i];
        for (int k = 1; k <= 4; ++k) row << c.strSyoyu[i][k];
        for (int k = 0; k < 3; ++k) {
            const QString file =
                store::SideTextPrefix(kinds[k]) + c.strDaimei[i] + QStringLiteral(".txt");
            row << (present[k].contains(file) ? kMark : QString());
        }
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
