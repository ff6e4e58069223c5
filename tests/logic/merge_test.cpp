#include "logic/merge.h"

#include <gtest/gtest.h>

namespace {

// A title record as the program writes it: name, director, star, the rest empty.
QByteArray T(const QByteArray& name, const QByteArray& director = "", const QByteArray& star = "") {
    return "\"" + name + "\",\"" + director + "\",\"" + star +
           "\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

QByteArray V(const QByteArray& date, const QByteArray& title) {
    return "\"" + date + "\",\"" + title + "\",\"\x8c\x95\"\r\n";  // 劇
}

struct Case {
    const char* what;
    bool history;
    QByteArray base, ours, theirs, merged;
    QStringList conflicts;
};

}  // namespace

TEST(MergeTest, ThreeWayByTitleNameAndTheHistoryByDate) {
    const std::vector<Case> cases = {
        {"one field on each side",
         false,
         T("A") + T("B"),
         T("A", "X") + T("B"),
         T("A", "", "Y") + T("B"),
         T("A", "X", "Y") + T("B"),
         {}},
        {"the same field on both sides",
         false,
         T("A"),
         T("A", "X"),
         T("A", "Z"),
         T("A", "X"),
         {"A"}},
        {"an add on each side",
         false,
         T("A"),
         T("A") + T("B"),
         T("A") + T("C"),
         T("A") + T("C") + T("B"),
         {}},
        {"a delete against an edit, and a delete of an untouched title",
         false,
         T("A") + T("B") + T("C"),
         T("B"),
         T("A", "X") + T("B") + T("C"),
         T("A", "X") + T("B"),
         {}},
        {"a reorder against an add",
         false,
         T("A") + T("B"),
         T("B") + T("A"),
         T("A") + T("B") + T("C"),
         T("B") + T("A") + T("C"),
         {}},
        {"the same title added on both sides stays once",
         false,
         T("A"),
         T("A") + T("N"),
         T("A") + T("N"),
         T("A") + T("N"),
         {}},
        {"a history with an append on each side",
         true,
         V("2020/01/01", "A"),
         V("2020/01/01", "A") + V("2020/02/01", "B"),
         V("2020/01/01", "A") + V("2020/03/01", "C"),
         V("2020/01/01", "A") + V("2020/02/01", "B") + V("2020/03/01", "C"),
         {}},
        {"a history written from the disk plus one viewing",
         true,
         V("2020/01/01", "A"),
         V("2020/01/01", "A") + V("2020/03/01", "C") + V("2020/03/01", "D"),
         V("2020/01/01", "A") + V("2020/03/01", "C"),
         V("2020/01/01", "A") + V("2020/03/01", "C") + V("2020/03/01", "D"),
         {}},
    };
    for (const Case& c : cases) {
        const store::Merged m = c.history ? logic::MergeHistory(c.base, c.ours, c.theirs)
                                          : logic::MergeTitles(c.base, c.ours, c.theirs);
        ASSERT_TRUE(m.status.isOk()) << c.what;
        EXPECT_EQ(m.bytes, c.merged) << c.what;
        EXPECT_EQ(m.conflicts, c.conflicts) << c.what;
    }
}

TEST(MergeTest, ASideThatDoesNotReadGivesItsLineAndNoBytes) {
    const store::Merged m = logic::MergeTitles(T("A"), T("A", "X"), T("A") + "\"B,\r\n");
    ASSERT_FALSE(m.status.isOk());
    EXPECT_EQ(m.status.error().file, QStringLiteral("データ.TXT"));
    EXPECT_EQ(m.status.error().line, 2);
    EXPECT_TRUE(m.bytes.isEmpty());
}
