#include "screens/main/picture_import.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "screens/main/main_screen.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"

namespace {

using Answer = Platform::Answer;

class PictureImportTest : public WindowTest {
protected:
    void StartWith(const QByteArray& data) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), data);
        Start();
        ASSERT_TRUE(loaded);
        window->GalleryOutOfDate = false;
    }
    MainScreen& Screen() const { return *static_cast<MainScreen*>(window->titleScreen()); }
    PictureImport& Panel() const { return *window->findChild<PictureImport*>(); }
    QFrame* Frame() const { return Find<QFrame>("fraPicget"); }
    QLabel* Picture() const { return Find<QLabel>("imgGazou"); }
    QListWidget* Files() const { return Find<QListWidget>("filZukei_Moto"); }
    QListWidget* Folders() const { return Find<QListWidget>("dirZukei_Moto"); }
    QComboBox* Drives() const { return Find<QComboBox>("drvZukei_Moto"); }

    void Open() { QTest::mouseClick(Picture(), Qt::LeftButton); }
    QStringList FileNames() const {
        QStringList names;
        for (int r = 0; r < Files()->count(); ++r) names << Files()->item(r)->text();
        return names;
    }
    void Pick(const QString& file) {
        const auto found = Files()->findItems(file, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << file.toStdString();
        Files()->setCurrentItem(found.first());
    }
    QStringList FolderPaths() const {
        QStringList paths;
        for (int r = 0; r < Folders()->count(); ++r)
            paths << Folders()->item(r)->data(Qt::UserRole).toString();
        return paths;
    }
    // Double-clicks the folder list's line of that folder.
    void EnterFolder(const QString& path) {
        for (int r = 0; r < Folders()->count(); ++r) {
            QListWidgetItem* item = Folders()->item(r);
            if (item->data(Qt::UserRole).toString() == path) {
                emit Folders()->itemActivated(item);
                return;
            }
        }
        ADD_FAILURE() << "no folder " << path.toStdString();
    }
    void Copy() { Find<QPushButton>("cmdFileCopy")->click(); }
    QByteArray Jpeg(int width, int height, Qt::GlobalColor colour) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return bytes;
    }
    QString Source(const QString& name) const { return QDir(source.path()).filePath(name); }
    void WriteSource(const QString& name, const QByteArray& bytes) const {
        QFile f(Source(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The browser on the folder of sources.
    void Browse() {
        Open();
        Panel().SetVolumeSource([this] {
            return std::vector<logic::Volume>{{"here", dir.path()}, {"there", source.path()}};
        });
        Drives()->setCurrentIndex(1);
        emit Drives()->activated(1);
        ASSERT_EQ(Panel().FolderPath(), source.path());
    }

    QTemporaryDir source;
};

// The browser starts on the working folder, lists only pictures in any case, re-reads the list at
// each opening and keeps its place between uses.
TEST_F(PictureImportTest, TheBrowserStartsOnTheWorkingFolderAndKeepsItsPlace) {
    WriteFile("a.JPG", "x");
    WriteFile("b.tif", "x");
    WriteFile("c.bmp", "x");
    StartWith(sjis::Titles(1));
    EXPECT_FALSE(Frame()->isVisible());
    Open();
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Panel().FolderPath(), dir.path());
    EXPECT_EQ(FileNames(), (QStringList{"a.JPG", "c.bmp"}));
    EXPECT_EQ(Folders()->currentItem()->data(Qt::UserRole).toString(), dir.path());

    QDir(dir.path()).mkpath("sub/inner");
    WriteFile("sub/d.Jpg", "x");
    Find<QPushButton>("cmdYame")->click();
    EXPECT_FALSE(Frame()->isVisible());
    WriteFile("e.jpg", "x");
    Find<QPushButton>("cmdYame")->click();
    Open();
    EXPECT_EQ(FileNames(), (QStringList{"a.JPG", "c.bmp", "e.jpg"}));

    EnterFolder(Path("sub"));
    EXPECT_EQ(FileNames(), QStringList{"d.Jpg"});
    Find<QPushButton>("cmdYame")->click();
    Open();
    EXPECT_EQ(Panel().FolderPath(), Path("sub"));
    EXPECT_EQ(FileNames(), QStringList{"d.Jpg"});
    EnterFolder(dir.path());  // back up through the open folder above
    EXPECT_EQ(FileNames(), (QStringList{"a.JPG", "c.bmp", "e.jpg"}));
    EXPECT_TRUE(fake->dialogs.empty());
}

// A place that cannot be read: the box, the drive list back on the place of
// the folder list, which stays.
TEST_F(PictureImportTest, APlaceNotReadyLeavesTheFolderListWhereItWas) {
    StartWith(sjis::Titles(1));
    Open();
    Panel().SetVolumeSource([this] {
        return std::vector<logic::Volume>{{"gone", Path("no-medium")}, {"here", dir.path()}};
    });
    EXPECT_EQ(Drives()->currentIndex(), 1);
    const QStringList before = FolderPaths();
    Drives()->setCurrentIndex(0);
    fake->Answer();
    emit Drives()->activated(0);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text, QStringLiteral("ﾃﾞﾊﾞｲｽが準備されていません"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ﾃﾞﾊﾞｲｽ未準備"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Critical);
    EXPECT_EQ(Drives()->currentIndex(), 1);
    EXPECT_EQ(Panel().FolderPath(), dir.path());
    EXPECT_EQ(FolderPaths(), before);

    // A folder gone since it was listed: the same box, the lists stay.
    QDir(dir.path()).mkdir("sub");
    Open();
    const QStringList listed = FolderPaths();
    QDir(dir.path()).rmdir("sub");
    fake->Answer();
    EnterFolder(Path("sub"));
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("ﾃﾞﾊﾞｲｽ未準備"));
    EXPECT_EQ(Panel().FolderPath(), dir.path());
    EXPECT_EQ(FolderPaths(), listed);
}

// The preview follows the picture's shape, is decoded no larger than the box,
// and a file that is no picture leaves the previous one.
TEST_F(PictureImportTest, ThePreviewTakesTheShapeOfThePicture) {
    StartWith(sjis::Titles(1));
    WriteSource("tall.jpg", Jpeg(300, 450, Qt::red));
    WriteSource("big.JPG", Jpeg(2000, 1500, Qt::blue));
    WriteSource("broken.jpg", "no picture");
    Browse();
    Pick("tall.jpg");
    EXPECT_EQ(Picture()->width(), 202);
    EXPECT_EQ(Screen().pictureSize, QSize(300, 450));
    Pick("big.JPG");
    EXPECT_EQ(Picture()->width(), 411);
    EXPECT_EQ(Screen().pictureSize, QSize(2000, 1500));
    EXPECT_LE(Picture()->pixmap().width(), 411);
    Pick("broken.jpg");
    EXPECT_EQ(Screen().pictureSize, QSize(2000, 1500));
    const QColor shown = Picture()->pixmap().toImage().pixelColor(5, 5);
    EXPECT_LT(shown.red(), 8);
    EXPECT_GT(shown.blue(), 247);
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(PictureImportTest, NoFileChosenWarnsAndCopiesNothing) {
    StartWith(sjis::Titles(1));
    WriteSource("a.jpg", "x");
    Browse();
    fake->Answer();
    Copy();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(
        fake->dialogs[0].text,
        QStringLiteral("コピー元ファイルが指定されていません \n\n先にファイルを選択して下さい "));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイル未選択"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(fake->dialogs[0].buttons, Platform::Buttons::Ok);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_FALSE(Exists("T1.jpg"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

// photo.JPG becomes T2.JPG; the gallery is out of date, the panel closes and
// the preview stays on show. The picture's thumbnail is written beside.
TEST_F(PictureImportTest, ThePictureIsCopiedUnderTheShownTitlesName) {
    StartWith(sjis::Titles(2));
    Find<QScrollBar>("hsbData")->setValue(2);
    const QByteArray photo = Jpeg(640, 480, Qt::green);
    WriteSource("photo.JPG", photo);
    Browse();
    Pick("photo.JPG");
    Copy();
    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_EQ(ReadFile("T2.JPG"), photo);
    EXPECT_TRUE(window->GalleryOutOfDate);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Screen().pictureSize, QSize(640, 480));
    EXPECT_EQ(ReadFile(QStringLiteral("データ.TXT")), sjis::Titles(2));
    const QByteArray uri = "file://" + QFile::encodeName(dir.path()) + "/T2.JPG";
    const QString thumbnail = cacheDir.path() + "/thumbnails/normal/" +
                              QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() +
                              ".png";
    for (int waited = 0; waited < 5000 && !QFile::exists(thumbnail); waited += 10) QTest::qWait(10);
    EXPECT_EQ(QImage(thumbnail, "PNG").text("Thumb::URI"), QString(uri));
}

// An existing picture of the name (any case) is asked about; Cancel keeps it
// and the panel; OK replaces it under its own spelling.
TEST_F(PictureImportTest, AnExistingPictureIsReplacedOnlyAfterOk) {
    StartWith(sjis::Titles(1));
    WriteFile("T1.jpg", "old picture");
    WriteSource("new.JPG", "new picture");
    Browse();
    Pick("new.JPG");
    fake->Answer(Answer::Cancel);
    Copy();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("同じ名前の画像が既に存在します。上書きしますか？"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(fake->dialogs[0].buttons, Platform::Buttons::OkCancel);
    EXPECT_EQ(ReadFile("T1.jpg"), "old picture");
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_FALSE(window->GalleryOutOfDate);

    fake->Answer(Answer::Ok);
    Copy();
    EXPECT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(ReadFile("T1.jpg"), "new picture");
    EXPECT_FALSE(Exists("T1.JPG"));
    EXPECT_FALSE(Frame()->isVisible());
}

// A copy that fails is reported with the file and the reason; the old picture
// stays byte for byte and the panel stays open.
TEST_F(PictureImportTest, AFailedCopyIsReportedAndKeepsTheOldPicture) {
    StartWith(sjis::Titles(1));
    const QByteArray old(3000, 'o');
    WriteFile("T1.jpg", old);
    WriteSource("big.jpg", QByteArray(20000, 'n'));
    Browse();
    Pick("big.jpg");
    fake->Answer(Answer::Ok);
    fake->Answer();
    {
        FileSizeLimit limit(8192);
        ASSERT_TRUE(limit.ok());
        Copy();
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains("T1.jpg"));
    EXPECT_EQ(ReadFile("T1.jpg"), old);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_FALSE(window->GalleryOutOfDate);
}

// A title whose name leaves the working folder receives no picture; nor does a
// name typed into the title box that is no title.
TEST_F(PictureImportTest, ANameThatMakesNoFileOfTheFolderIsRefused) {
    StartWith(sjis::Title("../x") + sjis::Title("T2"));
    WriteSource("a.jpg", "picture");
    Browse();
    Pick("a.jpg");
    fake->Answer();
    Copy();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("タイトル名「../x」では作業フォルダの中にファイルを作れないため、"
                             "画像を取り込めません。"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("取り込み不可"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("../x.jpg")));
    EXPECT_TRUE(Frame()->isVisible());

    Find<QComboBox>("cboName")->setEditText("typed");
    fake->Answer();
    Copy();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("タイトル名違い"));
    EXPECT_FALSE(Exists("typed.jpg"));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

TEST_F(PictureImportTest, ATitleTooLongForAFileNameIsRefused) {
    QByteArray longName;
    for (int i = 0; i < 90; ++i) longName += "\x82\xa0";  // あ
    StartWith(sjis::Title(longName));
    WriteSource("a.jpg", "picture");
    Browse();
    Pick("a.jpg");
    fake->Answer();
    Copy();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_TRUE(fake->dialogs[0].text.contains(QStringLiteral("79")));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.jpg", "*.JPG"}, QDir::Files).isEmpty());
    EXPECT_FALSE(window->GalleryOutOfDate);
}

// Cancel shows the title's own picture again, not the one only previewed.
TEST_F(PictureImportTest, CancelClosesAndShowsTheTitlesOwnPictureAgain) {
    StartWith(sjis::Titles(1));
    WriteFile("T1.jpg", Jpeg(640, 480, Qt::green));
    Screen().ShowTitle();
    WriteSource("tall.jpg", Jpeg(300, 450, Qt::red));
    Browse();
    Pick("tall.jpg");
    ASSERT_EQ(Screen().pictureSize, QSize(300, 450));
    Find<QPushButton>("cmdYame")->click();
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Screen().pictureSize, QSize(640, 480));
    EXPECT_EQ(ReadFile("T1.jpg"), Jpeg(640, 480, Qt::green));
    EXPECT_FALSE(window->GalleryOutOfDate);
    // The next opening has no file chosen.
    Open();
    EXPECT_EQ(Files()->currentItem(), nullptr);
}

// "参照…" takes the file chosen in the file dialog in as a file of the list,
// and so does a drop on the picture.
TEST_F(PictureImportTest, TheFileDialogsPictureIsTakenIn) {
    StartWith(sjis::Titles(1));
    WriteFile("T1.jpg", Jpeg(640, 480, Qt::green));
    QImage(300, 450, QImage::Format_RGB32).save(Source("poster.png"), "PNG");
    Open();
    fake->OpenAs(std::nullopt);
    Find<QPushButton>("cmdPicBrowse")->click();
    EXPECT_EQ(ReadFile("T1.jpg"), Jpeg(640, 480, Qt::green));
    fake->OpenAs(Source("poster.png"));
    fake->Answer(Answer::Ok);
    Find<QPushButton>("cmdPicBrowse")->click();
    ASSERT_EQ(fake->openDialogs.size(), 2u);
    EXPECT_EQ(fake->openDialogs[1].filter,
              QStringLiteral("画像ファイル (*.jpg *.jpeg *.png *.gif *.bmp *.webp)"));
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(QImage(Path("T1.jpg")).size(), QSize(300, 450));  // converted to JPEG
    EXPECT_EQ(Screen().pictureSize, QSize(300, 450));
    EXPECT_FALSE(Frame()->isVisible());

    // A file dropped on the picture is taken in the same way.
    QImage(640, 480, QImage::Format_RGB32).save(Source("still.bmp"), "BMP");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(Source("still.bmp"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(Picture(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(Picture(), &drop);
    EXPECT_EQ(QImage(Path("T1.bmp")).size(), QSize(640, 480));
    EXPECT_EQ(Screen().pictureSize, QSize(640, 480));
}

}  // namespace
