#include "window/ranking_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <vector>

#include "tests/support/gui_app.h"

namespace {

using Rows = std::vector<QStringList>;

class RankingGridTest : public ::testing::Test {
protected:
    Rows Body() const {
        Rows rows;
        for (int r = 1; r < grid.Rows(); ++r) {
            rows.push_back({grid.TextMatrix(r, 0), grid.TextMatrix(r, 1), grid.TextMatrix(r, 2)});
        }
        return rows;
    }

    QApplication* app = EnsureGuiApplication();  // before the grid
    RankingGrid grid{RankingGrid::Layout{QStringLiteral("監督名")}};
};

TEST_F(RankingGridTest, OrdersAreStableAndRenumberFromTheTop) {
    grid.Build({"b", "B", "a", "A", "c"}, {2, 0, 2, 10, 0});
    EXPECT_EQ(
        Body(),
        (Rows{
            {"1", "b", "2"}, {"2", "B", "0"}, {"3", "a", "2"}, {"4", "A", "10"}, {"5", "c", "0"}}));
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("監督名"));

    grid.Reorder(RankingGrid::Order::MostFirst);
    EXPECT_EQ(
        Body(),
        (Rows{
            {"1", "A", "10"}, {"2", "b", "2"}, {"3", "a", "2"}, {"4", "B", "0"}, {"5", "c", "0"}}));
    grid.Reorder(RankingGrid::Order::FewestFirst);
    EXPECT_EQ(
        Body(),
        (Rows{
            {"1", "B", "0"}, {"2", "c", "0"}, {"3", "b", "2"}, {"4", "a", "2"}, {"5", "A", "10"}}));
    grid.Reorder(RankingGrid::Order::ByLabel);
    EXPECT_EQ(
        Body(),
        (Rows{
            {"1", "A", "10"}, {"2", "B", "0"}, {"3", "a", "2"}, {"4", "b", "2"}, {"5", "c", "0"}}));
    EXPECT_EQ(grid.Col(), 1);
    grid.Reorder(RankingGrid::Order::MostFirst);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(Body()[1], (QStringList{"2", "a", "2"}));

    grid.Setup();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("数"));
}

// A cell written after the build is kept, and the next order sorts the texts
// the grid then holds.
TEST_F(RankingGridTest, WrittenCellsAreSortedAsTheyRead) {
    grid.Build({"x", "y", "z"}, {1, 2, 3});
    grid.SetTextMatrix(1, 2, "100");
    grid.Reorder(RankingGrid::Order::MostFirst);
    EXPECT_EQ(Body(), (Rows{{"1", "x", "100"}, {"2", "z", "3"}, {"3", "y", "2"}}));
    grid.Reorder(RankingGrid::Order::ByLabel);
    EXPECT_EQ(Body(), (Rows{{"1", "x", "100"}, {"2", "y", "2"}, {"3", "z", "3"}}));

    // A new build shows the new rows.
    grid.Build({"w"}, {7});
    grid.Reorder(RankingGrid::Order::FewestFirst);
    EXPECT_EQ(Body(), (Rows{{"1", "w", "7"}}));
}

}  // namespace
