#include "logic/rankings.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

// A title record with the director, lead actor, release, country and genre.
QByteArray Title(const QByteArray& name, const QByteArray& director, const QByteArray& actor,
                 const QByteArray& release, const QByteArray& country, const QByteArray& genre) {
    return "\"" + name + "\",\"" + director + "\",\"" + actor + "\",\"" + release + "\",\"" +
           country + "\",\"" + genre + "\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

QByteArray Viewing(const QByteArray& date, const QByteArray& title, const QByteArray& content) {
    return "\"" + date + "\",\"" + title + "\",\"" + content + "\"\r\n";
}

struct Rows {
    std::vector<QString> labels;
    std::vector<int> counts;
    bool operator==(const Rows&) const = default;
};

Rows Of(const logic::Ranking& r) {
    return {r.labels, r.counts};
}

void PrintTo(const Rows& r, std::ostream* os) {
    for (size_t i = 0; i < r.labels.size(); ++i)
        *os << r.labels[i].toStdString() << "=" << r.counts[i] << " ";
}

class RankingsTest : public ::testing::Test {
protected:
    void Load(const QByteArray& titles, const QByteArray& viewings = {}) {
        f.write(QStringLiteral("データ.TXT"), titles);
        f.write(QStringLiteral("鑑賞履歴.TXT"), viewings);
        ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
        ASSERT_TRUE(history.LoadHistory(folder).isOk());
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    store::Catalogue catalogue;
    history::History history;
};

// Values are matched exactly (letter case counts), empty values count nowhere,
// and a key no title holds any more keeps its row with 0.
TEST_F(RankingsTest, CatalogueValuesCountExactlyAndKeepEveryKey) {
    Load(Title("T1", "A", "x", "", "JP", "Drama") + Title("T2", "B", "", "", "US", "") +
         Title("T3", "A", "x", "", "JP", "Drama") + Title("T4", "a", "y", "", "", "drama") +
         Title("T5", "A", "", "", "JP", "") + Title("T6", "", "", "", "", "Drama"));
    EXPECT_EQ(Of(logic::DirectorRanking(catalogue)), (Rows{{"A", "a", "B"}, {3, 1, 1}}));
    EXPECT_EQ(Of(logic::LeadActorRanking(catalogue)), (Rows{{"x", "y"}, {2, 1}}));
    EXPECT_EQ(Of(logic::CountryRanking(catalogue)), (Rows{{"JP", "US"}, {3, 1}}));
    EXPECT_EQ(Of(logic::GenreRanking(catalogue)), (Rows{{"Drama", "drama"}, {3, 1}}));

    // An edit changes the title's value, the pick list keeps the old one.
    catalogue.strKantoku[2] = QStringLiteral("A");
    catalogue.strJanru[4].clear();
    EXPECT_EQ(Of(logic::DirectorRanking(catalogue)), (Rows{{"A", "a", "B"}, {4, 1, 0}}));
    EXPECT_EQ(Of(logic::GenreRanking(catalogue)), (Rows{{"Drama", "drama"}, {3, 0}}));
}

TEST_F(RankingsTest, ReleaseMonthsAndYears) {
    Load(Title("T1", "", "", "2001/05", "", "") + Title("T2", "", "", "2001/11", "", ""));
    EXPECT_EQ(Of(logic::ReleaseMonthRanking(catalogue)),
              (Rows{{QStringLiteral("2001年05月"), QStringLiteral("2001年11月")}, {1, 1}}));
    EXPECT_EQ(Of(logic::ReleaseYearRanking(catalogue)), (Rows{{QStringLiteral("2001年")}, {2}}));

    // A day falls into its month; a one-digit month keeps its own key
    // ("2002/1/") but reads like every other month; empty releases count nowhere.
    Load(Title("T1", "", "", "2002/1/3", "", "") + Title("T2", "", "", "2001/05", "", "") +
         Title("T3", "", "", "", "", "") + Title("T4", "", "", "2001/05/20", "", "") +
         Title("T5", "", "", "2002-10", "", ""));
    EXPECT_EQ(Of(logic::ReleaseMonthRanking(catalogue)),
              (Rows{{QStringLiteral("2002年01月"), QStringLiteral("2001年05月"),
                     QStringLiteral("2002年10月")},
                    {1, 2, 1}}));
    EXPECT_EQ(Of(logic::ReleaseYearRanking(catalogue)),
              (Rows{{QStringLiteral("2002年"), QStringLiteral("2001年")}, {2, 2}}));

    // A release changed since the load: its old month and year stay with 0.
    catalogue.strNengetu[1] = QStringLiteral("2001/05/01");
    EXPECT_EQ(Of(logic::ReleaseMonthRanking(catalogue)).counts, (std::vector<int>{0, 3, 1}));
    EXPECT_EQ(Of(logic::ReleaseYearRanking(catalogue)).counts, (std::vector<int>{1, 3}));
}

TEST_F(RankingsTest, MonthLabels) {
    const std::pair<QString, QString> cases[] = {
        {"2004/07", QStringLiteral("2004年07月")},
        {"2003/5/", QStringLiteral("2003年05月")},
        {"2003-12", QStringLiteral("2003年12月")},
        {"2003-5-", QStringLiteral("2003年05月")},
        {"2003/1", QStringLiteral("2003年01月")},
        {"2003/5-", "2003/5-"},
        {"03/05/1", "03/05/1"},
        {"2003/", "2003/"},
        {"abcdefg", "abcdefg"},
        {"", ""},
    };
    for (const auto& [key, label] : cases)
        EXPECT_EQ(logic::MonthLabel(key), label) << key.toStdString();
}

// Every catalogue title has a row, viewed or not; viewings of titles that are
// gone count nowhere; empty contents count nowhere.
TEST_F(RankingsTest, HistoryRankings) {
    Load(Title("Kept", "", "", "", "", "") + Title("Never", "", "", "", "", "") +
             Title("Twice", "", "", "", "", ""),
         Viewing("2003/12/31", "Twice", "DVD") + Viewing("2004/01/10", "Kept", "TV") +
             Viewing("2004/01/10", "Gone", "DVD") + Viewing("2004/01/20", "Twice", "") +
             Viewing("2005/02/01", "Gone", "dvd"));
    EXPECT_EQ(Of(logic::ViewedTitleRanking(history, catalogue)),
              (Rows{{"Kept", "Never", "Twice"}, {1, 0, 2}}));
    EXPECT_EQ(Of(logic::ViewingContentRanking(history)), (Rows{{"DVD", "TV", "dvd"}, {2, 1, 1}}));
    EXPECT_EQ(Of(logic::ViewingMonthRanking(history)),
              (Rows{{QStringLiteral("2003年12月"), QStringLiteral("2004年01月"),
                     QStringLiteral("2005年02月")},
                    {1, 3, 1}}));
    EXPECT_EQ(Of(logic::ViewingYearRanking(history)),
              (Rows{{QStringLiteral("2003年"), QStringLiteral("2004年"), QStringLiteral("2005年")},
                    {1, 3, 1}}));
}

// Enough keys that many share a first slot of the index, letters that differ
// only in case, and a title name that appears twice (each of its rows counts
// every viewing of that name).
TEST_F(RankingsTest, ManyKeysCountLikeAComparisonOfEveryValueWithEveryKey) {
    QByteArray titles;
    QByteArray viewings;
    for (int i = 1; i <= 3000; ++i) {
        const QByteArray director = (i % 2 ? "D" : "d") + QByteArray::number(i % 1100);
        const QByteArray release = QByteArray::number(1900 + i % 97) + "/" +
                                   QByteArray::number(1 + i % 12).rightJustified(2, '0');
        titles += Title("T" + QByteArray::number(i % 2900), director, "", release, "", "");
        viewings += Viewing("2004/01/10", "T" + QByteArray::number(i * 7 % 3100), "");
    }
    Load(titles, viewings);
    const auto naive = [](const std::vector<QString>& keys, const std::vector<QString>& values,
                          int n) {
        std::vector<int> counts;
        for (const QString& key : keys) {
            int count = 0;
            for (int i = 1; i <= n; ++i) count += values[i] == key;
            counts.push_back(count);
        }
        return counts;
    };
    const logic::Ranking directors = logic::DirectorRanking(catalogue);
    EXPECT_EQ(directors.labels, catalogue.cboKantoku.items());
    EXPECT_EQ(directors.counts,
              naive(catalogue.cboKantoku.items(), catalogue.strKantoku, catalogue.TitleCount));
    const logic::Ranking titleRanking = logic::ViewedTitleRanking(history, catalogue);
    EXPECT_EQ(titleRanking.labels, catalogue.cboName);
    EXPECT_EQ(titleRanking.counts,
              naive(catalogue.cboName, history.strKansyouDaimei, history.HistoryCount));
    EXPECT_EQ(titleRanking.counts[0], titleRanking.counts[2900]);  // "T1" twice
    EXPECT_GT(titleRanking.counts[0], 0);
    EXPECT_EQ(logic::ReleaseMonthRanking(catalogue).counts,
              naive(catalogue.cboKoukai, catalogue.strNengetu, catalogue.TitleCount));
}

TEST_F(RankingsTest, NothingRecordedGivesEmptyRankingsButEveryTitle) {
    Load(QByteArray());
    for (const logic::Ranking& r :
         {logic::DirectorRanking(catalogue), logic::LeadActorRanking(catalogue),
          logic::ReleaseMonthRanking(catalogue), logic::ReleaseYearRanking(catalogue),
          logic::CountryRanking(catalogue), logic::GenreRanking(catalogue),
          logic::ViewingMonthRanking(history), logic::ViewingYearRanking(history),
          logic::ViewedTitleRanking(history, catalogue), logic::ViewingContentRanking(history)}) {
        EXPECT_TRUE(r.labels.empty());
        EXPECT_TRUE(r.counts.empty());
    }
    Load(Title("T1", "", "", "", "", "") + Title("T2", "", "", "", "", ""));
    EXPECT_EQ(Of(logic::ViewedTitleRanking(history, catalogue)), (Rows{{"T1", "T2"}, {0, 0}}));
}

}  // namespace
