#include "screens/thumbnail_cache.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "tests/support/folder_helpers.h"
#include "tests/support/gui_app.h"

namespace {

constexpr qint64 kTime = 1700000000;

// A thumbnail of the given colour carrying the given texts.
void Plant(const QString& path, Qt::GlobalColor colour, const QStringList& texts) {
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(colour);
    for (int k = 0; k + 1 < texts.size(); k += 2) image.setText(texts[k], texts[k + 1]);
    ASSERT_TRUE(image.save(path, "PNG"));
}

// The colour of a picture, near enough for a decoded JPEG.
bool Is(const QImage& image, Qt::GlobalColor colour) {
    const QColor a = image.pixelColor(10, 10), b(colour);
    return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
           std::abs(a.blue() - b.blue()) < 8;
}

// Only a thumbnail of the file's URI, time and size stands for it; another
// time, another size or a damaged file is passed over and written anew; a
// picture changed within the last seconds is decoded and left unwritten.
TEST(Thumbnails, AThumbnailOfAnotherStateOfTheFileIsIgnoredAndRewritten) {
    EnsureGuiApplication();
    testsupport::TempFolder dir;
    const QString picture = dir.file("p.jpg");
    QImage red(400, 300, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture, "JPG"));
    const utimbuf times{kTime, kTime};
    ASSERT_EQ(::utime(QFile::encodeName(picture).constData(), &times), 0);
    const QString size = QString::number(QFile(picture).size());
    const QString uri = "file://" + picture;
    const QString cache = dir.file("normal");
    const QString thumbnail =
        cache + "/" + QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() +
        ".png";
    ASSERT_TRUE(QDir().mkpath(cache));
    const qint64 later = kTime + 60;
    auto expectRewritten = [&] {
        EXPECT_TRUE(Is(thumbnails::SmallPicture(cache, picture, later), Qt::red));
        const QImage written(thumbnail, "PNG");
        EXPECT_EQ(written.text("Thumb::MTime"), QString::number(kTime));
        EXPECT_TRUE(Is(written, Qt::red));
    };
    Plant(thumbnail, Qt::blue, {"Thumb::URI", uri, "Thumb::MTime", "1699999999"});
    expectRewritten();
    Plant(thumbnail, Qt::blue,
          {"Thumb::URI", uri, "Thumb::MTime", "1700000000", "Thumb::Size", "7"});
    expectRewritten();
    dir.write("normal/" + QFileInfo(thumbnail).fileName(), "\x89PNG\r\n\x1a\n damaged");
    expectRewritten();

    // Without a size it stands for the file, unless the file is too new.
    Plant(thumbnail, Qt::blue, {"Thumb::URI", uri, "Thumb::MTime", "1700000000"});
    EXPECT_TRUE(Is(thumbnails::SmallPicture(cache, picture, later), Qt::blue));
    EXPECT_TRUE(Is(thumbnails::SmallPicture(cache, picture, kTime + 1), Qt::red));
    EXPECT_TRUE(Is(QImage(thumbnail, "PNG"), Qt::blue));
}

}  // namespace
