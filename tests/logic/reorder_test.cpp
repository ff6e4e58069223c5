#include "logic/reorder.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

namespace {

// Every title exactly once, whatever the rows held.
TEST(Reorder, OrderOfNamesTakesEachTitleOnceAndKeepsTheUnnamed) {
    testsupport::TempFolder f;
    store::WorkingFolder folder(f.path());
    f.write(QStringLiteral("データ.TXT"),
            "\"A\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n\"B\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n"
            "\"C\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n");
    store::Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(folder).isOk());
    EXPECT_EQ(logic::OrderOfNames(c, {"C", "A", "B"}), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(logic::OrderOfNames(c, {"B", "x", "B", "a"}), (std::vector<int>{2, 1, 3}));

    ASSERT_TRUE(logic::ReorderTitles(c, folder, {3, 1, 2}).isOk());
    auto written = [](const char* name) {
        return "\"" + QByteArray(name) +
               "\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
    };
    EXPECT_EQ(f.read(QStringLiteral("データ.TXT")), written("C") + written("A") + written("B"));
}

}  // namespace
