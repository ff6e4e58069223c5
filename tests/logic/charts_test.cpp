#include "logic/charts.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

QByteArray Viewing(const QByteArray& date) {
    return "\"" + date + "\",\"T\",\"DVD\"\r\n";
}

struct Bars {
    std::vector<QString> labels;
    std::vector<int> counts;
    bool operator==(const Bars&) const = default;
};

Bars Of(const logic::Ranking& r) {
    return {r.labels, r.counts};
}

void PrintTo(const Bars& b, std::ostream* os) {
    for (size_t i = 0; i < b.labels.size(); ++i)
        *os << b.labels[i].toStdString() << "=" << b.counts[i] << " ";
}

class ChartsTest : public ::testing::Test {
protected:
    void Load(const QByteArray& viewings) {
        f.write(QStringLiteral("鑑賞履歴.TXT"), viewings);
        ASSERT_TRUE(history.LoadHistory(folder).isOk());
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    history::History history;
};

// Every month between the first viewing and the last has its bar, the empty
// ones 0, across the turn of a year; a date naming no month counts nowhere.
TEST_F(ChartsTest, MonthSeriesKeepsEmptyMonthsAsGaps) {
    Load(Viewing("2019/11/03") + Viewing("2019/11/30") + Viewing("2020/02/14") +
         Viewing("2020-3-1") + Viewing("2020/13/01") + Viewing("someday"));
    EXPECT_EQ(Of(logic::ViewingMonthSeries(history)),
              (Bars{{"2019年11月", "2019年12月", "2020年01月", "2020年02月", "2020年03月"},
                    {2, 0, 0, 1, 1}}));
}

// Years without a viewing in between count 0; a history out of date order
// still runs from its earliest year to its latest.
TEST_F(ChartsTest, YearSeriesRunsFromTheEarliestYearToTheLatest) {
    Load(Viewing("2003/05/01") + Viewing("2000/01/01") + Viewing("2003/12/31") +
         Viewing("2001/07/07"));
    EXPECT_EQ(Of(logic::ViewingYearSeries(history)),
              (Bars{{"2000年", "2001年", "2002年", "2003年"}, {1, 1, 0, 2}}));
    EXPECT_EQ(Of(logic::ViewingMonthSeries(history)).labels.size(), 48u);
}

TEST_F(ChartsTest, AnEmptyHistoryHasNoBars) {
    Load({});
    EXPECT_EQ(Of(logic::ViewingMonthSeries(history)), Bars{});
    EXPECT_EQ(Of(logic::ViewingYearSeries(history)), Bars{});
}

// The top entries are the largest counts, largest first; equal counts keep
// the ranking's order, also at the cut; entries counting 0 never show.
TEST(TopEntries, LargestFirstWithTiesInRankingOrder) {
    logic::Ranking r;
    for (int i = 0; i < 30; ++i) {
        r.labels.push_back(QStringLiteral("K%1").arg(i));
        r.counts.push_back(i % 3);  // 0, 1, 2, 0, 1, 2, ...
    }
    const logic::Ranking top = logic::TopEntries(r, 20);
    std::vector<QString> expected;
    for (int i = 2; i < 30; i += 3) expected.push_back(QStringLiteral("K%1").arg(i));
    for (int i = 1; i < 30 && expected.size() < 20; i += 3)
        expected.push_back(QStringLiteral("K%1").arg(i));
    EXPECT_EQ(top.labels, expected);
    EXPECT_EQ(top.counts.front(), 2);
    EXPECT_EQ(top.counts.back(), 1);

    logic::Ranking few{{"A", "B", "C"}, {0, 3, 0}};
    EXPECT_EQ(Of(logic::TopEntries(few, 20)), (Bars{{"B"}, {3}}));
}

}  // namespace
