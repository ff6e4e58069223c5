#include "logic/search.h"

#include <gtest/gtest.h>

#include "logic/side_file_lists.h"
#include "tests/support/folder_helpers.h"

namespace {

using store::Catalogue;
using store::SideText;
using testsupport::TempFolder;

// A title record: name, director, release, rating, ownership flag of item 1.
QByteArray Title(const QByteArray& name, const QByteArray& director, const QByteArray& release,
                 const QByteArray& rating = "", const QByteArray& owned = "") {
    return "\"" + name + "\",\"" + director + "\",,\"" + release + "\",,,\"" + rating +
           "\",0,0,0,0,0,0,0,\"" + owned + "\",,,\r\n";
}

QByteArray Viewing(const QByteArray& date, const QByteArray& title, const QByteArray& content) {
    return "\"" + date + "\",\"" + title + "\",\"" + content + "\"\r\n";
}

const QByteArray kWideAbc = "\x82\x60\x82\x61\x82\x62";  // ＡＢＣ
const QByteArray kMaru = "\x81\x9b";                     // ○
const QByteArray kNijuMaru = "\x81\x9d";                 // ◎

class SearchTest : public ::testing::Test {
protected:
    void Load(const QByteArray& titles, const QByteArray& viewings = {}) {
        f.write(QStringLiteral("データ.TXT"), titles);
        f.write(QStringLiteral("鑑賞履歴.TXT"), viewings);
        ASSERT_TRUE(c.LoadTitleData(folder).isOk());
        ASSERT_TRUE(h.LoadHistory(folder).isOk());
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    Catalogue c;
    history::History h;
};

TEST_F(SearchTest, ValuesRatingsAndOwnershipCompareExactly) {
    Load(Title("one", "ABC", "", kMaru, kMaru) + Title("two", "abc", "", kNijuMaru) +
         Title("three", kWideAbc, "", "", "x") + Title("four", "ABC", "") + Title("five", "", ""));
    EXPECT_EQ(logic::TitlesWithValue(c, Catalogue::PickField::Kantoku, "ABC"),
              QStringList({"one", "four"}));
    EXPECT_EQ(logic::TitlesWithValue(c, Catalogue::PickField::Kantoku, QString::fromUtf8("ＡＢＣ")),
              QStringList({"three"}));
    EXPECT_EQ(logic::TitlesWithRating(c, QStringLiteral("○")), QStringList({"one"}));
    EXPECT_EQ(logic::TitlesWithRating(c, QStringLiteral("未")),
              QStringList({"three", "four", "five"}));
    EXPECT_EQ(logic::TitlesWithOwnership(c, 1, true), QStringList({"one"}));
    // Any flag but "○" counts as not owned, the empty flag of a new title too.
    EXPECT_EQ(logic::TitlesWithOwnership(c, 1, false),
              QStringList({"two", "three", "four", "five"}));
    EXPECT_EQ(logic::TitlesContaining(c, "o"), QStringList({"one", "two", "four"}));
    EXPECT_TRUE(logic::TitlesContaining(c, "ONE").isEmpty());
}

TEST_F(SearchTest, YearMonthKeys) {
    EXPECT_EQ(logic::YearMonthKey("2004/7"), "2004/07");
    EXPECT_EQ(logic::YearMonthKey("2004-07-15"), "2004/07");
    EXPECT_EQ(logic::YearMonthKey("2004/12/01"), "2004/12");
    EXPECT_EQ(logic::YearMonthKey("2004/13"), "2004/13");  // no date: the value itself
    EXPECT_EQ(logic::YearMonthKey("Spring"), "Spring");
    EXPECT_EQ(logic::YearMonthKey(""), "");
}

TEST_F(SearchTest, ReleaseRangesIncludeBothEndsAndEmptyKeysOnlyUnderAnUpperBound) {
    Load(Title("a", "", "2000/12") + Title("b", "", "2001/1") + Title("c", "", "") +
         Title("d", "", "2003-12-31") + Title("e", "", "2004/01"));
    EXPECT_EQ(*logic::TitlesReleasedBetween(c, "2001/01", "2003/12"), QStringList({"b", "d"}));
    EXPECT_EQ(*logic::TitlesReleasedBetween(c, "", "2003/12"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(*logic::TitlesReleasedBetween(c, "2001/01", ""), QStringList({"b", "d", "e"}));
    EXPECT_TRUE(logic::TitlesReleasedBetween(c, "2003/12", "2001/01")->isEmpty());
    EXPECT_FALSE(logic::TitlesReleasedBetween(c, "", "").has_value());
}

TEST_F(SearchTest, ViewingSearchesListEveryViewingInHistoryOrder) {
    Load(Title("a", "", "") + Title("b", "", ""),
         Viewing("2001/01/05", "a", "TV") + Viewing("2001/02/01", "b", "tv") +
             Viewing("2001/02/09", "a", "TV") + Viewing("2001/03/01", "gone", "TV") +
             Viewing("2001/04/01", "a", "TV"));
    EXPECT_EQ(*logic::ViewingsBetween(h, "2001/01", "2001/03"),
              QStringList({"a", "b", "a", "gone"}));
    EXPECT_EQ(*logic::ViewingsBetween(h, "2001/02", ""), QStringList({"b", "a", "gone", "a"}));
    EXPECT_FALSE(logic::ViewingsBetween(h, "", "").has_value());
    EXPECT_EQ(logic::ViewingsWithContent(h, "TV"), QStringList({"a", "a", "gone", "a"}));
}

const QString kCast = QStringLiteral("キャスト_");  // the cast files' prefix

TEST_F(SearchTest, SideTextWordIsFoundAnywhereInTheWholeTextOncePerFile) {
    Load(Title("a", "", "") + Title("b", "", "") + Title("c", "", ""));
    f.write(kCast + "b.txt", "Yamada, Sato\r\nSato again\r\n");
    f.write(kCast + "a.txt", "\"Sato\" and\r\nSuzuki\r\n");
    f.write(kCast + "gone.TXT", "Sato\r\n");              // its title was deleted
    f.write(kCast + "c.txt", "Sato \x82\r\n");            // not CP932: passed over
    f.write(QStringLiteral("キャスト.txt"), "Sato\r\n");  // no prefix "キャスト_"
    EXPECT_EQ(logic::SideFiles(folder, SideText::Cast),
              QStringList({kCast + "a.txt", kCast + "b.txt", kCast + "c.txt", kCast + "gone.TXT"}));
    EXPECT_EQ(logic::SideTextsContaining(folder, SideText::Cast, "Sato"),
              QStringList({"a", "b", "gone"}));
    EXPECT_EQ(logic::SideTextsContaining(folder, SideText::Cast, "Yamada, Sato"),
              QStringList({"b"}));
    EXPECT_EQ(logic::SideTextsContaining(folder, SideText::Cast, "\"Sato\" and"),
              QStringList({"a"}));
    EXPECT_TRUE(logic::SideTextsContaining(folder, SideText::Cast, "sato").isEmpty());
    EXPECT_TRUE(logic::SideTextsContaining(folder, SideText::Memo, "Sato").isEmpty());
}

TEST_F(SearchTest, PresenceListsFilesOrTheTitlesWithout) {
    Load(Title("a", "", "") + Title("B", "", "") + Title("c", "", ""));
    f.write(QStringLiteral("メモ_c.txt"), "x\r\n");
    f.write(QStringLiteral("メモ_b.TXT"), "x\r\n");  // B's memo, as the folder resolves it
    f.write(QStringLiteral("メモ_zz.txt"), "x\r\n");
    EXPECT_EQ(logic::TitlesWithSideText(folder, SideText::Memo), QStringList({"b", "c", "zz"}));
    EXPECT_EQ(logic::TitlesWithoutSideText(c, folder, SideText::Memo), QStringList({"a"}));
    EXPECT_EQ(logic::TitlesWithoutSideText(c, folder, SideText::Synopsis),
              QStringList({"a", "B", "c"}));
}

}  // namespace
