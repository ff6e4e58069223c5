#include "logic/thumbnails.h"

#include <gtest/gtest.h>

namespace {

// $XDG_CACHE_HOME when it is absolute, else the home's .cache, else none; a
// thumbnail's size counts only where it is given.
TEST(Thumbnails, TheFolderAndTheKeys) {
    EXPECT_EQ(logic::NormalThumbnailFolder("/x/cache/", "/home/u"), "/x/cache/thumbnails/normal");
    EXPECT_EQ(logic::NormalThumbnailFolder("cache", "/home/u"), "/home/u/.cache/thumbnails/normal");
    EXPECT_EQ(logic::NormalThumbnailFolder("cache", "home"), "");
    const logic::ThumbnailKeys file{"file:///a.jpg", 1700000000, 2048, {}};
    EXPECT_TRUE(logic::ThumbnailMatches(file, "file:///a.jpg", "1700000000", QString()));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///a.jpg", "1700000000", "2047"));
    EXPECT_FALSE(logic::ThumbnailMatches(file, "file:///a.jpg", "1700000000.5", "2048"));
}

}  // namespace
