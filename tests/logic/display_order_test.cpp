#include "logic/display_order.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Applies the drop to a list the way the list model moves a row.
QStringList Dropped(QStringList names, int from, int onto) {
    const auto m = logic::DropOnto(from, onto, static_cast<int>(names.size()));
    if (!m) return names;
    const QString moved = names.takeAt(m->from);
    names.insert(m->landsAt, moved);
    // The model's "before" row, counted before the move, names the same place.
    EXPECT_EQ(m->before > m->from ? m->before - 1 : m->before, m->landsAt);
    return names;
}

TEST(DisplayOrder, ADraggedEntryLandsDirectlyInFrontOfItsTarget) {
    const QStringList abcd = {"A", "B", "C", "D"};
    EXPECT_EQ(Dropped(abcd, 0, 2), (QStringList{"B", "A", "C", "D"}));  // A onto C
    EXPECT_EQ(Dropped(abcd, 3, 1), (QStringList{"A", "D", "B", "C"}));  // D onto B
    EXPECT_EQ(Dropped(abcd, 3, 0), (QStringList{"D", "A", "B", "C"}));  // D onto A
    EXPECT_EQ(Dropped(abcd, 0, 3), (QStringList{"B", "C", "A", "D"}));  // A onto D: never last
}

TEST(DisplayOrder, OnItselfOnTheEntryBelowOrOffTheListNothingMoves) {
    EXPECT_FALSE(logic::DropOnto(0, 1, 4));  // A onto B
    EXPECT_FALSE(logic::DropOnto(2, 2, 4));
    EXPECT_FALSE(logic::DropOnto(3, 4, 4));   // past the last entry
    EXPECT_FALSE(logic::DropOnto(-1, 2, 4));  // pressed on no entry
    EXPECT_FALSE(logic::DropOnto(1, -1, 4));  // released on no entry
    EXPECT_FALSE(logic::DropOnto(0, 0, 0));
    const auto up = logic::DropOnto(3, 2, 4);  // D onto C
    ASSERT_TRUE(up);
    EXPECT_EQ(up->landsAt, 2);
}

}  // namespace
