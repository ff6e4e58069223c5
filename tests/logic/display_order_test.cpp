#include "logic/display_order.h"

#include <gtest/gtest.h>

namespace {

// The list moves of the screen test (A onto C, D onto B) and the ends of the
// list: to the top, never past the last entry, nothing off the list.
TEST(DisplayOrder, ADraggedEntryLandsDirectlyInFrontOfItsTarget) {
    const auto toTop = logic::DropOnto(3, 0, 4);  // D onto A
    ASSERT_TRUE(toTop);
    EXPECT_EQ(toTop->before, 0);
    EXPECT_EQ(toTop->landsAt, 0);
    const auto down = logic::DropOnto(0, 3, 4);  // A onto D: in front of D, not last
    ASSERT_TRUE(down);
    EXPECT_EQ(down->before, 3);
    EXPECT_EQ(down->landsAt, 2);
    EXPECT_FALSE(logic::DropOnto(0, 1, 4));   // onto the entry below
    EXPECT_FALSE(logic::DropOnto(3, 4, 4));   // past the last entry
    EXPECT_FALSE(logic::DropOnto(-1, 2, 4));  // pressed on no entry
    EXPECT_FALSE(logic::DropOnto(1, -1, 4));  // released on no entry
}

}  // namespace
