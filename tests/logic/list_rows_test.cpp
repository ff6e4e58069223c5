#include "logic/list_rows.h"

#include <gtest/gtest.h>

#include "logic/reorder.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

const QString kData = QStringLiteral("データ.TXT");
const QByteArray kMark = "\x81\x9b";  // ○
const QString kMarkText = QStringLiteral("○");

// A record with every field filled, in the layout of a whole-file write.
QByteArray Full(const QByteArray& name, const QByteArray& scores = "80,5,5,5,5,5,5") {
    return "\"" + name + "\",\"d-" + name + "\",\"l-" + name + "\",\"1999/0" + name.right(1) +
           "\",\"c-" + name + "\",\"g-" + name + "\",\"" + kMark + "\"," + scores + ",\"" + kMark +
           "\",\"\",\"" + kMark + "\",\"\"\r\n";
}

store::Catalogue Load(const TempFolder& f, store::WorkingFolder& folder, const QByteArray& data) {
    f.write(kData, data);
    store::Catalogue c;
    EXPECT_TRUE(c.LoadTitleData(folder).isOk());
    return c;
}

TEST(ListRows, EveryCellOfEveryTitleInCatalogueOrder) {
    TempFolder f;
    store::WorkingFolder folder(f.path());
    const store::Catalogue c =
        Load(f, folder, Full("B1") + Full("A2", "100,0,10,9,0,0,1") + Full("C3", "0,0,0,0,0,0,0"));

    const std::vector<QStringList> main = logic::MainListRows(c);
    ASSERT_EQ(main.size(), 3u);
    EXPECT_EQ(main[0], QStringList({"B1", "d-B1", "l-B1", "1999/01", "c-B1", "g-B1"}));
    EXPECT_EQ(main[1][0], "A2");
    EXPECT_EQ(main[2][0], "C3");

    // The total leaves item 1 out: 80 + 5 * 6 gives 30. Zeros are shown.
    const std::vector<QStringList> evaluation = logic::EvaluationListRows(c);
    ASSERT_EQ(evaluation.size(), 3u);
    EXPECT_EQ(evaluation[0],
              QStringList({"B1", kMarkText, "80", "5", "5", "5", "5", "5", "5", "30"}));
    EXPECT_EQ(evaluation[1],
              QStringList({"A2", kMarkText, "100", "0", "10", "9", "0", "0", "1", "20"}));
    EXPECT_EQ(evaluation[2],
              QStringList({"C3", kMarkText, "0", "0", "0", "0", "0", "0", "0", "0"}));

    EXPECT_TRUE(logic::MainListRows(store::Catalogue()).empty());
}

// A side text counts under its exact file name only; each kind has its own column.
TEST(ListRows, OwnershipMarksAndPresenceOfTheSideTexts) {
    TempFolder f;
    store::WorkingFolder folder(f.path());
    f.write(QStringLiteral("メモ_B1.txt"), "m\r\n");
    f.write(QStringLiteral("キャスト_A2.txt"), "c\r\n");
    f.write(QStringLiteral("あらすじ_A2.txt"), "s\r\n");
    f.write(QStringLiteral("メモ_A2.txt"), "m\r\n");
    f.write(QStringLiteral("キャスト_c3.txt"), "other case\r\n");
    f.write(QStringLiteral("あらすじ_C3.TXT"), "other case\r\n");
    f.write(QStringLiteral("メモ_C3 .txt"), "another name\r\n");
    f.write(QStringLiteral("C3.txt"), "no kind\r\n");
    const store::Catalogue c = Load(f, folder, Full("B1") + Full("A2") + Full("C3"));

    const std::vector<QStringList> rows = logic::OwnershipListRows(c, folder);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], QStringList({"B1", kMarkText, "", kMarkText, "", "", "", kMarkText}));
    EXPECT_EQ(rows[1],
              QStringList({"A2", kMarkText, "", kMarkText, "", kMarkText, kMarkText, kMarkText}));
    EXPECT_EQ(rows[2], QStringList({"C3", kMarkText, "", kMarkText, "", "", "", ""}));
}

class ListOrder : public ::testing::Test {
protected:
    TempFolder f;
    store::WorkingFolder folder{f.path()};
    const QByteArray data =
        Full("B1") + Full("C2", "1,2,3,4,5,6,7") + Full("A3", "100,10,9,8,7,6,5");
    store::Catalogue c = Load(f, folder, data);
};

// Every record travels whole with its title; each title is written once.
TEST_F(ListOrder, RowsOrderIsWrittenWithEveryFieldOfEachTitle) {
    const std::vector<int> order = logic::TitlesOfRows(c, {"A3", "B1", "C2"});
    EXPECT_EQ(order, (std::vector<int>{3, 1, 2}));
    ASSERT_TRUE(logic::ReorderTitles(c, folder, order).isOk());
    EXPECT_EQ(f.read(kData),
              Full("A3", "100,10,9,8,7,6,5") + Full("B1") + Full("C2", "1,2,3,4,5,6,7"));
}

// Rows that are not every title exactly once write nothing.
TEST_F(ListOrder, RowsThatAreNoPermutationWriteNothing) {
    const QList<QStringList> refused = {
        {"A3", "B1"},              // a title missing
        {"A3", "B1", "C2", "A3"},  // a title twice
        {"A3", "B1", "A3"},        // twice, and one missing
        {"A3", "b1", "C2"},        // a name that is no title (exact comparison)
        {},
    };
    for (const QStringList& names : refused) {
        const std::vector<int> order = logic::TitlesOfRows(c, names);
        const store::Status s = logic::ReorderTitles(c, folder, order);
        EXPECT_FALSE(s.isOk()) << names.join(',').toStdString();
        EXPECT_EQ(f.read(kData), data);
    }
    EXPECT_EQ(logic::TitlesOfRows(c, {"b1", "C2"}), (std::vector<int>{0, 2}));
}

// A write that fails part way leaves the old file whole.
TEST_F(ListOrder, FailedWriteKeepsTheOldFile) {
    {
        const FileSizeLimit limit(static_cast<rlim_t>(data.size() / 2));
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(logic::ReorderTitles(c, folder, {3, 2, 1}).isOk());
    }
    EXPECT_EQ(f.read(kData), data);
    EXPECT_EQ(f.entries(), QStringList({kData}));
}

}  // namespace
