#include "logic/pictures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "tests/support/file_size_limit.h"
#include "tests/support/folder_helpers.h"

namespace {

// 45 titles make three pages; the last reads 41 ～ 60 and holds 41..45.
TEST(Gallery, PagesOfFortyFiveTitles) {
    EXPECT_EQ(logic::GalleryPageCount(45), 3);
    EXPECT_EQ(logic::GalleryFirstNumber(3), 41);
    EXPECT_EQ(logic::GalleryLastNumber(3), 60);
    EXPECT_EQ(logic::GalleryTitleAt(3, 1, 45), 41);
    EXPECT_EQ(logic::GalleryTitleAt(3, 5, 45), 45);
    EXPECT_EQ(logic::GalleryTitleAt(3, 6, 45), 0);
    EXPECT_EQ(logic::GalleryTitleAt(3, 20, 45), 0);
    EXPECT_EQ(logic::GalleryTitleAt(2, 3, 45), 23);
    EXPECT_EQ(logic::NextGalleryPage(2, 3), 3);
    EXPECT_EQ(logic::NextGalleryPage(3, 3), 3);
    EXPECT_EQ(logic::PreviousGalleryPage(3), 2);
    EXPECT_EQ(logic::PreviousGalleryPage(1), 1);
}

TEST(Gallery, PageCountsAtTheEdges) {
    EXPECT_EQ(logic::GalleryPageCount(0), 0);
    EXPECT_EQ(logic::GalleryPageCount(1), 1);
    EXPECT_EQ(logic::GalleryPageCount(20), 1);
    EXPECT_EQ(logic::GalleryPageCount(21), 2);
    EXPECT_EQ(logic::GalleryPageCount(32766), 1639);
    // One page of 20: neither button moves.
    EXPECT_EQ(logic::NextGalleryPage(1, 1), 1);
    // An empty catalogue has no page to go to.
    EXPECT_EQ(logic::NextGalleryPage(1, 0), 1);
    EXPECT_EQ(logic::GalleryTitleAt(1, 1, 0), 0);
    EXPECT_EQ(logic::GalleryTitleAt(1639, 6, 32766), 32766);
}

// The ratio's bounds belong to the square shape; 1000 twips across or less
// leaves the box as it was.
TEST(PictureShape, WidthAtTheBoundsOfTheRatio) {
    EXPECT_EQ(logic::PictureBoxWidth(1500, 1950, 4650), 4650);  // r = 1.3
    EXPECT_EQ(logic::PictureBoxWidth(1500, 1965, 4650), 3030);
    EXPECT_EQ(logic::PictureBoxWidth(1500, 1350, 4650), 4650);  // r = 0.9
    EXPECT_EQ(logic::PictureBoxWidth(1500, 1335, 4650), 6165);
    EXPECT_EQ(logic::PictureBoxWidth(1000, 3000, 4650), std::nullopt);
    EXPECT_EQ(logic::PictureBoxWidth(1015, 3000, 4650), 3030);
}

TEST(PictureImport, TargetKeepsTheSourcesSpellingOfItsLastFourCharacters) {
    EXPECT_EQ(logic::PictureTargetName("T", "photo.JPG"), "T.JPG");
    EXPECT_EQ(logic::PictureTargetName(QStringLiteral("羅生門"), "scan.bmp"),
              QStringLiteral("羅生門.bmp"));
    EXPECT_EQ(logic::PictureTargetName("T", "x.Bmp"), "T.Bmp");
    // Today's formats are stored as JPEG.
    for (const char* n : {"a.png", "b.JPEG", "c.WebP", "d.gif"})
        EXPECT_EQ(logic::PictureTargetName("T", n), "T.jpg") << n;
    EXPECT_EQ(logic::JoinPath("/", "a.jpg"), "/a.jpg");
    EXPECT_EQ(logic::JoinPath("/home/u", "a.jpg"), "/home/u/a.jpg");
    EXPECT_FALSE(logic::PictureTargetRefused("T.JPG"));
    EXPECT_TRUE(logic::PictureTargetRefused("../x.JPG"));
    EXPECT_TRUE(logic::PictureTargetRefused("a/b.jpg"));
}

// A JPEG is known by its first bytes and read whole; anything else is read
// from its file; what is no regular file gives nothing, without waiting.
TEST(PictureSource, AJpegIsReadIntoMemoryAndOnlyAJpeg) {
    testsupport::TempFolder dir;
    const QByteArray jpeg = QByteArray("\xff\xd8\xff\xe0") + QByteArray(70000, 'j');
    const QByteArray bmp = QByteArray("BM") + QByteArray(5000, 'b');
    dir.write("named.bmp", jpeg);
    dir.write("bitmap.jpg", bmp);
    dir.write("short.jpg", "\xff\xd8");
    {
        logic::PictureSource source(dir.file("named.bmp"));
        ASSERT_NE(source.device(), nullptr);
        EXPECT_TRUE(source.inMemory());
        EXPECT_EQ(source.device()->readAll(), jpeg);
    }
    for (const char* name : {"bitmap.jpg", "short.jpg"}) {
        logic::PictureSource source(dir.file(name));
        ASSERT_NE(source.device(), nullptr) << name;
        EXPECT_FALSE(source.inMemory()) << name;
        EXPECT_EQ(source.device()->readAll(), dir.read(name)) << name;
    }
    QDir(dir.path()).mkdir("folder.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0600), 0);
    for (const char* name : {"gone.jpg", "folder.jpg", "pipe.jpg"}) {
        logic::PictureSource source(dir.file(name));
        EXPECT_EQ(source.device(), nullptr) << name;
    }
}

// A picture's stamp follows its bytes: another size or another file renamed
// over it changes it; a file changed within the last two seconds has none.
TEST(PictureSource, AStampForAFileThatHasSettled) {
    testsupport::TempFolder dir;
    dir.write("T.jpg", QByteArray(1000, 'a'));
    const QString path = dir.file("T.jpg");
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    EXPECT_EQ(logic::PictureFileStamp(path, now), std::nullopt);
    EXPECT_EQ(logic::PictureFileStamp(dir.file("gone.jpg"), now + 60), std::nullopt);
    const std::optional<QString> first = logic::PictureFileStamp(path, now + 60);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(logic::PictureFileStamp(path, now + 60), first);

    dir.write("T.jpg", QByteArray(1001, 'a'));
    const std::optional<QString> longer = logic::PictureFileStamp(path, now + 60);
    ASSERT_TRUE(longer.has_value());
    EXPECT_NE(longer, first);
    dir.write("other.jpg", QByteArray(1001, 'a'));
    ASSERT_TRUE(QFile::rename(dir.file("T.jpg"), dir.file("old.jpg")));
    ASSERT_TRUE(QFile::rename(dir.file("other.jpg"), path));
    const std::optional<QString> renamed = logic::PictureFileStamp(path, now + 60);
    ASSERT_TRUE(renamed.has_value());
    EXPECT_NE(renamed, longer);
}

class CopyPictureIn : public ::testing::Test {
protected:
    testsupport::TempFolder work;
    testsupport::TempFolder elsewhere;
    store::WorkingFolder folder{work.path()};
    const QByteArray oldPicture = QByteArray(3000, 'o');
    const QByteArray newPicture = QByteArray(5000, 'n');
};

// T.jpg and T.JPG are one file: the old one is replaced, no second appears.
TEST_F(CopyPictureIn, CopiesTheBytesOverThePictureOfTheSameNameIgnoringCase) {
    elsewhere.write("photo.JPG", newPicture);
    ASSERT_TRUE(logic::CopyPictureIn(folder, elsewhere.file("photo.JPG"), "A.JPG").isOk());
    EXPECT_EQ(work.read("A.JPG"), newPicture);
    work.write("T.jpg", oldPicture);
    ASSERT_TRUE(logic::CopyPictureIn(folder, elsewhere.file("photo.JPG"), "T.JPG").isOk());
    EXPECT_EQ(work.entries(), (QStringList{"A.JPG", "T.jpg"}));
    EXPECT_EQ(work.read("T.jpg"), newPicture);
    EXPECT_EQ(elsewhere.read("photo.JPG"), newPicture);
}

// Taken from the working folder onto itself, the picture stays whole.
TEST_F(CopyPictureIn, ASourceThatIsTheTargetStaysWhole) {
    work.write("T.jpg", oldPicture);
    ASSERT_TRUE(logic::CopyPictureIn(folder, work.file("T.jpg"), "t.JPG").isOk());
    EXPECT_EQ(work.read("T.jpg"), oldPicture);
}

TEST_F(CopyPictureIn, AFailedWriteLeavesTheOldPictureByteForByte) {
    work.write("T.jpg", oldPicture);
    elsewhere.write("photo.jpg", newPicture);
    store::Status st;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        st = logic::CopyPictureIn(folder, elsewhere.file("photo.jpg"), "T.jpg");
    }
    ASSERT_FALSE(st.isOk());
    EXPECT_EQ(st.error().file, "T.jpg");
    EXPECT_EQ(work.entries(), QStringList{"T.jpg"});  // no temporary left behind
    EXPECT_EQ(work.read("T.jpg"), oldPicture);
}

TEST_F(CopyPictureIn, ASourceThatCannotBeReadNamesItselfAndWritesNothing) {
    work.write("T.jpg", oldPicture);
    const QString missing = elsewhere.file("gone.jpg");
    const store::Status st = logic::CopyPictureIn(folder, missing, "T.jpg");
    ASSERT_FALSE(st.isOk());
    EXPECT_EQ(st.error().file, missing);
    EXPECT_FALSE(st.error().reason.isEmpty());
    EXPECT_EQ(work.read("T.jpg"), oldPicture);

    QDir(elsewhere.path()).mkdir("folder.jpg");
    EXPECT_FALSE(logic::CopyPictureIn(folder, elsewhere.file("folder.jpg"), "T.jpg").isOk());
    EXPECT_EQ(work.read("T.jpg"), oldPicture);
}

TEST_F(CopyPictureIn, ANameLeavingTheFolderWritesNothing) {
    elsewhere.write("photo.jpg", newPicture);
    QDir(work.path()).mkdir("sub");
    EXPECT_FALSE(logic::CopyPictureIn(folder, elsewhere.file("photo.jpg"), "sub/x.jpg").isOk());
    EXPECT_FALSE(logic::CopyPictureIn(folder, elsewhere.file("photo.jpg"), "../x.jpg").isOk());
    EXPECT_EQ(work.entries(), QStringList{"sub"});
    EXPECT_TRUE(QDir(work.file("sub")).isEmpty());
}

}  // namespace
