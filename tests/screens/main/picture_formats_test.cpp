#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "screens/main/main_screen.h"
#include "screens/main/picture_import.h"
#include "tests/support/window_fixture.h"

namespace {

class PictureFormatsTest : public WindowTest {
protected:
    void StartWith(int titles) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), sjis::Titles(titles));
        Start();
        ASSERT_TRUE(loaded);
    }
    MainScreen& Screen() const { return *static_cast<MainScreen*>(window->titleScreen()); }
    void Browse() {
        QTest::mouseClick(Find<QWidget>("imgGazou"), Qt::LeftButton);
        window->findChild<PictureImport*>()->SetVolumeSource([this] {
            return std::vector<logic::Volume>{{"there", source.path()}};
        });
        emit Find<QComboBox>("drvZukei_Moto")->activated(0);
    }
    void Pick(const QString& name) {
        const auto found = Find<QListWidget>("filZukei_Moto")->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        Find<QListWidget>("filZukei_Moto")->setCurrentItem(found.first());
    }
    void WriteSource(const QString& name, const QImage& image, const char* format) const {
        ASSERT_TRUE(image.save(QDir(source.path()).filePath(name), format));
    }

    QTemporaryDir source;
};

// A PNG (with a transparent part) becomes the title's ".jpg" at its natural
// size, a JPEG of quality 90 on white, which the main screen then shows.
TEST_F(PictureFormatsTest, APngIsStoredAsAJpgTheMainScreenShows) {
    StartWith(2);
    Find<QScrollBar>("hsbData")->setValue(2);
    QImage png(300, 200, QImage::Format_ARGB32);
    png.fill(Qt::red);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 20; ++x) png.setPixel(x, y, qRgba(0, 0, 0, 0));
    WriteSource("photo.Png", png, "PNG");
    Browse();
    Pick("photo.Png");
    Find<QPushButton>("cmdFileCopy")->click();
    EXPECT_TRUE(fake->dialogs.empty());
    ASSERT_TRUE(Exists("T2.jpg"));
    EXPECT_FALSE(Exists("T2.Png"));
    QByteArray stored = ReadFile("T2.jpg");
    QBuffer buffer(&stored);
    QImageReader reader(&buffer);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), QSize(300, 200));
    EXPECT_GT(qRed(back.pixel(5, 100)), 240);  // the transparent part on white
    EXPECT_GT(qGreen(back.pixel(5, 100)), 240);
    EXPECT_GT(qRed(back.pixel(200, 100)), 240);
    EXPECT_LT(qGreen(back.pixel(200, 100)), 30);

    // Shown when the title is shown again.
    Find<QScrollBar>("hsbData")->setValue(1);
    EXPECT_NE(Screen().pictureSize, QSize(300, 200));
    Find<QScrollBar>("hsbData")->setValue(2);
    EXPECT_EQ(Screen().pictureSize, QSize(300, 200));
}

// GIF and ".jpeg" are converted too; a file that is no picture is reported and
// stores nothing.
TEST_F(PictureFormatsTest, OtherFormatsAndAFileThatIsNoPicture) {
    StartWith(1);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    {
        // Qt reads GIF but does not write it: a 1 x 1 GIF.
        QFile gif(QDir(source.path()).filePath("a.GIF"));
        ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
        gif.write(
            QByteArray::fromHex("47494638396101000100800000ff000000000021f90400000000002c000000"
                                "00010001000002024401003b"));
    }
    WriteSource("b.jpeg", image, "JPG");
    {
        QFile bad(QDir(source.path()).filePath("c.webp"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("no picture");
    }
    Browse();
    EXPECT_EQ(Find<QListWidget>("filZukei_Moto")->count(), 3);
    for (const char* name : {"a.GIF", "b.jpeg"}) {
        Pick(name);
        if (Exists("T1.jpg")) fake->Answer();  // the overwrite question
        Find<QPushButton>("cmdFileCopy")->click();
        const bool gif = QByteArray(name) == "a.GIF";
        EXPECT_EQ(QImage::fromData(ReadFile("T1.jpg"), "JPG").size(),
                  gif ? QSize(1, 1) : QSize(64, 48))
            << name;
        QTest::mouseClick(Find<QWidget>("imgGazou"), Qt::LeftButton);
    }
    const QByteArray before = ReadFile("T1.jpg");
    Pick("c.webp");
    fake->Answer();  // the overwrite question
    fake->Answer();  // the error box
    Find<QPushButton>("cmdFileCopy")->click();
    EXPECT_EQ(fake->dialogs.back().title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(ReadFile("T1.jpg"), before);
}

}  // namespace
