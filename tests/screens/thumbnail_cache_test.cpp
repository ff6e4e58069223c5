#include "screens/thumbnail_cache.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/support/folder_helpers.h"

namespace {

QImage Filled(Qt::GlobalColor colour, const QString& mtime = {}, const QString& uri = {}) {
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(colour);
    image.setText("Thumb::URI", uri);
    image.setText("Thumb::MTime", mtime);
    return image;
}

bool Red(const QImage& image) {
    const QColor c = image.pixelColor(10, 10);
    return c.red() > 245 && c.green() < 10 && c.blue() < 10;  // as a JPEG decodes it
}

// A thumbnail of another modification time, or a damaged one, is passed over
// and written anew; one that stands for a picture changed within the last
// seconds is not trusted.
TEST(Thumbnails, AThumbnailOfAnotherTimeIsIgnoredAndRewritten) {
    testsupport::TempFolder dir;
    const QString picture = dir.file("p.jpg"), cache = dir.file("normal");
    ASSERT_TRUE(Filled(Qt::red).scaled(400, 300).save(picture, "JPG"));
    const utimbuf times{1700000000, 1700000000};
    ASSERT_EQ(::utime(QFile::encodeName(picture).constData(), &times), 0);
    const QString uri = "file://" + picture;
    const QString thumbnail =
        cache + "/" + QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() +
        ".png";
    ASSERT_TRUE(QDir().mkpath(cache));
    ASSERT_TRUE(Filled(Qt::blue, "1699999999", uri).save(thumbnail, "PNG"));
    EXPECT_TRUE(Red(thumbnails::SmallPicture(cache, picture, 1700000060)));
    EXPECT_TRUE(Red(QImage(thumbnail, "PNG")));
    EXPECT_EQ(QImage(thumbnail, "PNG").text("Thumb::MTime"), "1700000000");

    dir.write("normal/" + QFileInfo(thumbnail).fileName(), "\x89PNG\r\n\x1a\n damaged");
    EXPECT_TRUE(Red(thumbnails::SmallPicture(cache, picture, 1700000060)));
    EXPECT_TRUE(Red(QImage(thumbnail, "PNG")));

    ASSERT_TRUE(Filled(Qt::blue, "1700000000", uri).save(thumbnail, "PNG"));
    EXPECT_FALSE(Red(thumbnails::SmallPicture(cache, picture, 1700000060)));
    EXPECT_TRUE(Red(thumbnails::SmallPicture(cache, picture, 1700000001)));
    EXPECT_FALSE(Red(QImage(thumbnail, "PNG")));  // and not written over
}

}  // namespace
