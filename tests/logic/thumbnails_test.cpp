#include "logic/thumbnails.h"

#include <gtest/gtest.h>

namespace {

// $XDG_CACHE_HOME when it is absolute, else the home's .cache; no cache
// without either.
TEST(Thumbnails, TheFolderOfTheNormalThumbnails) {
    EXPECT_EQ(logic::NormalThumbnailFolder("/x/cache/", "/home/u"), "/x/cache/thumbnails/normal");
    EXPECT_EQ(logic::NormalThumbnailFolder("cache", "/home/u"), "/home/u/.cache/thumbnails/normal");
    EXPECT_EQ(logic::NormalThumbnailFolder("", "/home/u"), "/home/u/.cache/thumbnails/normal");
    EXPECT_EQ(logic::NormalThumbnailFolder("", ""), "");
    EXPECT_EQ(logic::NormalThumbnailFolder("cache", "home"), "");
}

// The time and size are whole numbers that must be the file's own.
TEST(Thumbnails, KeysThatStandForAFile) {
    const logic::ThumbnailKeys file{"file:///p/a.jpg", 1700000000, 2048, {}};
    EXPECT_TRUE(logic::ThumbnailMatches(file, "file:///p/a.jpg", "1700000000", "2048"));
    EXPECT_TRUE(logic::ThumbnailMatches(file, "file:///p/a.jpg", "1700000000", QString()));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///p/a.jpg", "1700000000.5", "2048"));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///p/a.jpg", "", QString()));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///p/A.jpg", "1700000000", "2048"));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///p/a.jpg", "1700000000", ""));
}

}  // namespace
