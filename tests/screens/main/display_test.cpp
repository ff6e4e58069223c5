#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>

#include "screens/main/main_screen.h"
#include "tests/support/window_fixture.h"

namespace {

// 七人の侍 / 黒澤明 / 三船敏郎 / 1954/04 / 日本 / 時代劇 / ○, scores 95 15 0 4 5 6 7, owned ○ "" ○
// "".
const QByteArray kSevenSamurai =
    "\"\x8e\xb5\x90\x6c\x82\xcc\x8e\x98\",\"\x8d\x95\xe0\x56\x96\xbe\","
    "\"\x8e\x4f\x91\x44\x95\x71\x98\x59\","
    "\"1954/04\",\"\x93\xfa\x96\x7b\",\"\x8e\x9e\x91\xe3\x8c\x80\",\"\x81\x9b\",95,15,0,4,5,6,7,"
    "\"\x81\x9b\",\"\",\"\x81\x9b\",\"\"\r\n";

using sjis::Title;
using sjis::Titles;

const QColor kWhite(255, 255, 255);

class DisplayTest : public WindowTest {
protected:
    void StartWith(const QByteArray& data) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), data);
        Start();
        ASSERT_TRUE(loaded);
    }
    // Drags the title scroll bar to title i.
    void Go(int i) { Find<QScrollBar>("hsbData")->setValue(i); }

    QString Text(const char* combo) const { return Find<QComboBox>(combo)->currentText(); }
    QString Page(int k) const {
        return Find<QPlainTextEdit>(QStringLiteral("txtSubData_%1").arg(k))->toPlainText();
    }
    QString Counter() const { return Find<QLabel>("lblKensu")->text(); }
    QLabel* Picture() const { return Find<QLabel>("imgGazou"); }
    MainScreen& Screen() const { return *static_cast<MainScreen*>(window->titleScreen()); }

    // The faces on show, by number: "1" when only imgFace1_1 shows.
    QString Faces() const {
        QString shown;
        for (int k = 0; k < 4; ++k) {
            if (!Find<QLabel>(QStringLiteral("imgFace1_%1").arg(k))->isHidden())
                shown += QString::number(k);
        }
        return shown;
    }
    QColor Box(int k, int b) const {
        return Find<QFrame>(QStringLiteral("shpHyouka%1_%2").arg(k).arg(b))
            ->palette()
            .color(QPalette::Window);
    }
    // The colour bar k is filled in: that of its first box.
    QColor BarColour(int k) const { return Box(k, 1); }
    // Bar k box by box: "x" filled in the bar's colour, "." white, "?" anything else.
    QString Bar(int k) const {
        QString boxes;
        for (int b = 1; b <= 10; ++b) {
            const QColor c = Box(k, b);
            boxes += c == kWhite ? u'.' : (c == BarColour(k) ? u'x' : u'?');
        }
        return boxes;
    }
    QString Owned() const {
        QString marks;
        for (int k = 1; k <= 4; ++k)
            marks +=
                Find<QCheckBox>(QStringLiteral("chkSyoyu_%1").arg(k))->isChecked() ? u'x' : u'.';
        return marks;
    }
    void WritePicture(const QString& name, int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(Path(name))) << name.toStdString();
    }
};

TEST_F(DisplayTest, FieldsFacesBarsAndOwnershipFollowTheTitle) {
    StartWith(kSevenSamurai +
              "\"T2\",,,,,,\"\",9,10,10,0,0,0,0,\"\",\"\x81\x9b\",\"\",\"\x81\x9b\"\r\n"
              "\"T3\",,,,,,\"\x81\x9d\",100,0,5,10,10,10,10,\"\",\"\",\"\",\"\"\r\n"
              "\"T4\",,,,,,\"\x81\xa2\",0,1,2,3,4,5,6,\"\x81\x9b\",\"\x81\x9b\",\"\x81\x9b\","
              "\"\x81\x9b\"\r\n");

    EXPECT_EQ(Text("cboName"), QStringLiteral("七人の侍"));
    EXPECT_EQ(Text("cboKantoku"), QStringLiteral("黒澤明"));
    EXPECT_EQ(Text("cboSyuen"), QStringLiteral("三船敏郎"));
    EXPECT_EQ(Find<QLineEdit>("txtNengetu")->text(), QStringLiteral("1954/04"));
    EXPECT_EQ(Text("cboKuni"), QStringLiteral("日本"));
    EXPECT_EQ(Text("cboJanru"), QStringLiteral("時代劇"));
    EXPECT_EQ(Text("cboHyouka"), QStringLiteral("○"));
    EXPECT_EQ(Faces(), "1");
    EXPECT_EQ(Text("cboHyouka1_1"), "95");
    EXPECT_EQ(Bar(1), "xxxxxxxxx.");
    EXPECT_EQ(Bar(2), "xxxxxxxxxx");  // 15 on a bar of ten
    EXPECT_EQ(Bar(3), "..........");
    EXPECT_EQ(Bar(4), "xxxx......");
    EXPECT_EQ(Bar(7), "xxxxxxx...");
    // Each bar in a colour of its own.
    QSet<QRgb> colours;
    for (int k : {1, 2, 4, 5, 6, 7}) colours.insert(BarColour(k).rgb());
    EXPECT_EQ(colours.size(), 6);
    EXPECT_FALSE(colours.contains(kWhite.rgb()));
    EXPECT_EQ(Owned(), "x.x.");
    EXPECT_EQ(Counter(), "1 / 4");

    Go(2);
    EXPECT_EQ(Text("cboName"), "T2");
    EXPECT_EQ(Text("cboKantoku"), "");
    EXPECT_EQ(Text("cboHyouka"), "");
    EXPECT_EQ(Faces(), "3");
    EXPECT_EQ(Text("cboHyouka1_1"), "9");
    EXPECT_EQ(Bar(1), "..........");
    EXPECT_EQ(Bar(2), "xxxxxxxxxx");
    EXPECT_EQ(Bar(3), "xxxxxxxxxx");
    EXPECT_EQ(Bar(4), "..........");
    EXPECT_EQ(Owned(), ".x.x");
    EXPECT_EQ(Counter(), "2 / 4");

    Go(3);
    EXPECT_EQ(Faces(), "0");
    EXPECT_EQ(Bar(1), "xxxxxxxxxx");
    EXPECT_EQ(Bar(2), "..........");
    EXPECT_EQ(Bar(3), "xxxxx.....");
    EXPECT_EQ(Bar(5), "xxxxxxxxxx");
    EXPECT_EQ(Bar(6), "xxxxxxxxxx");
    EXPECT_EQ(Owned(), "....");

    Go(4);
    EXPECT_EQ(Faces(), "2");
    EXPECT_EQ(Bar(1), "..........");
    EXPECT_EQ(Bar(6), "xxxxx.....");
    EXPECT_EQ(Owned(), "xxxx");

    // Showing again from the start draws the same screen.
    Go(1);
    EXPECT_EQ(Faces(), "1");
    EXPECT_EQ(Bar(1), "xxxxxxxxx.");
    EXPECT_EQ(Owned(), "x.x.");
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(DisplayTest, CounterOnTheLastOfManyTitles) {
    StartWith(Titles(120));
    EXPECT_EQ(Counter(), "1 / 120");
    EXPECT_EQ(Find<QScrollBar>("hsbData")->maximum(), 120);
    Go(120);
    EXPECT_EQ(Text("cboName"), "T120");
    EXPECT_EQ(Counter(), "120 / 120");
}

TEST_F(DisplayTest, PictureWidthFollowsItsShape) {
    StartWith(Title("\x97\x85\x90\xb6\x96\xe5") + Title("Wide") + Title("Square") + Title("Both") +
              Title("None") + Title("Tiny"));  // 羅生門 first
    WritePicture(QStringLiteral("羅生門.jpg"), 300, 450);
    WritePicture("Wide.jpg", 640, 480);
    WritePicture("Square.bmp", 500, 500);
    WritePicture("Both.jpg", 640, 480);
    WritePicture("Both.bmp", 300, 450);
    WritePicture("Tiny.jpg", 60, 30);
    const int height = Picture()->height();
    EXPECT_EQ(height, 310);  // 4650 twips

    // Title 1 was shown before its picture was written.
    Go(2);
    Go(1);
    EXPECT_FALSE(Picture()->pixmap().isNull());
    EXPECT_EQ(Screen().pictureSize, QSize(300, 450));
    EXPECT_EQ(Picture()->width(), 202);  // 3030 twips: upright

    Go(2);
    EXPECT_EQ(Picture()->width(), 411);  // 6165 twips: wide
    Go(3);
    EXPECT_EQ(Screen().pictureSize, QSize(500, 500));
    EXPECT_EQ(Picture()->width(), 310);  // as wide as the box is high
    EXPECT_EQ(Picture()->height(), height);

    Go(4);  // .jpg and .bmp: the .bmp is the one shown
    EXPECT_EQ(Screen().pictureSize, QSize(300, 450));
    EXPECT_EQ(Picture()->width(), 202);

    Go(5);  // no picture: an empty box that keeps its width
    EXPECT_TRUE(Picture()->pixmap().isNull());
    EXPECT_TRUE(Screen().pictureSize.isEmpty());
    EXPECT_EQ(Picture()->width(), 202);

    Go(3);
    Go(6);  // 900 twips wide: shown, but too small to measure
    EXPECT_FALSE(Picture()->pixmap().isNull());
    EXPECT_EQ(Picture()->width(), 310);
    EXPECT_EQ(Picture()->height(), height);
    EXPECT_TRUE(fake->dialogs.empty());
}

// A picture is decoded at the size it takes in its box, its proportions kept;
// its natural size still gives the box its shape.
TEST_F(DisplayTest, ALargePictureIsDecodedAtTheSizeOfItsBox) {
    StartWith(Title("Big") + Title("Tall") + Title("Strip"));
    WritePicture("Big.jpg", 2000, 1500);
    WritePicture("Tall.bmp", 1200, 1800);
    WritePicture("Strip.jpg", 3000, 200);
    Go(2);
    Go(1);
    EXPECT_EQ(Screen().pictureSize, QSize(2000, 1500));
    EXPECT_EQ(Picture()->size(), QSize(411, 310));
    EXPECT_EQ(Picture()->pixmap().size(), QSize(411, 308));
    Go(2);
    EXPECT_EQ(Screen().pictureSize, QSize(1200, 1800));
    EXPECT_EQ(Picture()->size(), QSize(202, 310));
    EXPECT_EQ(Picture()->pixmap().size(), QSize(202, 303));
    Go(3);  // a strip: as wide as the box, not stretched to its height
    EXPECT_EQ(Screen().pictureSize, QSize(3000, 200));
    EXPECT_EQ(Picture()->size(), QSize(411, 310));
    EXPECT_EQ(Picture()->pixmap().size(), QSize(411, 27));
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(DisplayTest, SideTextsShowWithoutTheirFinalLineEnd) {
    // 三船敏郎 CR LF 志村喬 CR LF; 野武士と戦う (no line end); 傑作 CR LF CR LF.
    WriteFile(QStringLiteral("キャスト_七人の侍.txt"),
              "\x8e\x4f\x91\x44\x95\x71\x98\x59\r\n\x8e\x75\x91\xba\x8b\xaa\r\n");
    WriteFile(QStringLiteral("あらすじ_七人の侍.txt"),
              "\x96\xec\x95\x90\x8e\x6d\x82\xc6\x90\xed\x82\xa4");
    WriteFile(QStringLiteral("メモ_七人の侍.txt"), "\x8c\x86\x8d\xec\r\n\r\n");
    // The side files of another title are its own.
    WriteFile(QStringLiteral("メモ_T2.txt"), "T2\r\n");
    StartWith(kSevenSamurai + Title("T2") + Title("T3"));

    // The box gives its lines separated by "\n".
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎\n志村喬"));
    EXPECT_EQ(Page(2), QStringLiteral("野武士と戦う"));
    EXPECT_EQ(Page(3), QStringLiteral("傑作\n"));

    Go(2);
    EXPECT_EQ(Page(1), "");
    EXPECT_EQ(Page(2), "");
    EXPECT_EQ(Page(3), "T2");
    Go(3);  // no side files at all
    EXPECT_EQ(Page(1), "");
    EXPECT_EQ(Page(2), "");
    EXPECT_EQ(Page(3), "");
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(DisplayTest, NoTitlesLeftKeepsPagesScoresAndOwnershipButEmptiesThePicture) {
    WriteFile(QStringLiteral("キャスト_七人の侍.txt"), "\x8e\x4f\x91\x44\x95\x71\x98\x59\r\n");
    StartWith(kSevenSamurai);
    WritePicture(QStringLiteral("七人の侍.bmp"), 640, 480);
    Screen().ShowTitle();
    ASSERT_FALSE(Picture()->pixmap().isNull());
    ASSERT_EQ(Picture()->width(), 411);

    // The last title goes: the file is rewritten, reloaded and shown.
    WriteFile(QStringLiteral("データ.TXT"), QByteArray());
    ASSERT_TRUE(window->ReloadTitles());
    Screen().ShowTitle();

    EXPECT_EQ(Counter(), "0 / 0");
    EXPECT_EQ(Find<QScrollBar>("hsbData")->maximum(), 1);
    EXPECT_EQ(Page(1), QStringLiteral("三船敏郎"));
    EXPECT_EQ(Text("cboHyouka1_1"), "95");
    EXPECT_EQ(Owned(), "x.x.");
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(Bar(k), "..........") << "bar " << k;
    EXPECT_TRUE(Picture()->pixmap().isNull());
    EXPECT_TRUE(fake->dialogs.empty());
}

}  // namespace
