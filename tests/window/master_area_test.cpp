#include <QFrame>
#include <QPushButton>

#include "tests/support/window_fixture.h"

namespace {

using MasterAreaTest = WindowTest;

// Another screen's control lies in the master frame at the place it was given,
// and is seen with the master screen only.
TEST_F(MasterAreaTest, PlacedControlShowsWithTheMasterScreenAtItsPlace) {
    WriteMasters();
    Start();
    auto* placed = new QPushButton(QStringLiteral("置く"));
    window->PlaceInMasterArea(placed, QRect(424, 484, 152, 62));
    EXPECT_EQ(placed->parentWidget(), window->frame("fraMaster"));
    EXPECT_EQ(placed->geometry(), QRect(424, 484, 152, 62));
    EXPECT_FALSE(placed->isVisible());
    window->button("cmdMaster")->click();
    EXPECT_TRUE(placed->isVisible());
    window->button("cmdMain")->click();
    EXPECT_FALSE(placed->isVisible());
}

}  // namespace
