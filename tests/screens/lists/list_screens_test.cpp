#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"
#include "window/grid.h"

namespace {

using Dialog = FakePlatform::Dialog;

const QString kCrLf = QStringLiteral("\r\n");
const QString kData = QStringLiteral("データ.TXT");
const QByteArray kMark = "\x81\x9b";  // ○

// A record in the layout of a whole-file write.
QByteArray Record(const QByteArray& name, const QByteArray& director = {},
                  const QByteArray& release = {}, const QByteArray& scores = "0,0,0,0,0,0,0",
                  const QByteArray& rating = {}) {
    return "\"" + name + "\",\"" + director + "\",\"l-" + name + "\",\"" + release +
           "\",\"k\",\"g\",\"" + rating + "\"," + scores + ",\"" + kMark + "\",\"\",\"\",\"\"\r\n";
}

class ListScreensTest : public WindowTest {
protected:
    void StartWith(const QByteArray& data, bool helpTour = false) {
        WriteMasters(helpTour);
        WriteFile(kData, data);
        if (helpTour) {
            fake->Answer();
            fake->Answer();
        }
        Start();
        ASSERT_TRUE(loaded);
        window->GalleryOutOfDate = false;
        fake->dialogs.clear();
    }
    void Click(const char* name) { window->findChild<QPushButton*>(name)->click(); }
    Grid* G(const char* name) const { return Find<Grid>(name); }
    QPoint CentreOf(Grid* g, int row, int col) const {
        return g->visualRect(g->model()->index(row - 1, col)).center();
    }
    void ClickCell(Grid* g, int row, int col) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, CentreOf(g, row, col));
    }
    QPoint HeaderPoint(Grid* g, int col) const {
        QHeaderView* h = g->horizontalHeader();
        return {h->sectionViewportPosition(col) + 5, h->height() / 2};
    }
    void ClickHeader(Grid* g, int col) {
        QTest::mouseClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          HeaderPoint(g, col));
    }
    // A double-click as the mouse delivers it: click, press, double-click, release.
    static void DoubleClick(QWidget* widget, QPoint point) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, point);
        QTest::mousePress(widget, Qt::LeftButton, {}, point);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, point);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, point);
    }
    // The body texts of a column, top to bottom.
    static QStringList Column(const Grid* g, int col) {
        QStringList texts;
        for (int r = 1; r < g->Rows(); ++r) texts << g->TextMatrix(r, col);
        return texts;
    }
    static QStringList Row(const Grid* g, int row) {
        QStringList texts;
        for (int c = 0; c < g->Cols(); ++c) texts << g->TextMatrix(row, c);
        return texts;
    }
    QString Shown() const { return Find<QComboBox>("cboName")->currentText(); }
    bool Visible(const char* frame) const { return window->frame(frame)->isVisible(); }
};

// Three titles whose every sortable column orders them differently.
QByteArray ThreeTitles() {
    return Record("B", "d2", "2001/05", "9,1,1,1,1,1,1", kMark) +
           Record("C", "d1", "1999/12", "100,2,2,2,2,2,2") +
           Record("A", "d3", "", "10,0,0,0,0,0,9", "\x81\x9d");  // ◎
}

TEST_F(ListScreensTest, OpeningFillsTheTableOnceAndEmptiesTheOthers) {
    WriteFile(QStringLiteral("メモ_C.txt"), "m\r\n");
    StartWith(ThreeTitles(), true);

    fake->Answer();
    Click("cmdIchiran2");
    EXPECT_TRUE(Visible("fraIchiran2"));
    EXPECT_FALSE(Visible("fraMain"));
    EXPECT_FALSE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(fake->waitPointerDepth, 0);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_TRUE(
        fake->dialogs[0].text.startsWith(QStringLiteral("それぞれのタイトルの評価を一覧表示")));

    Grid* g2 = G("msgIchiran2");
    ASSERT_EQ(g2->Cols(), 10);
    ASSERT_EQ(g2->Rows(), 4);
    // The item names of the evaluation master head the score columns.
    EXPECT_EQ(Row(g2, 0), QStringList({"タイトル名", "評", "総合", "感動・涙", "笑い", "ほのぼの",
                                       "スリル", "恐怖戦慄", "セクシー", "得点"}));
    EXPECT_EQ(Row(g2, 1), QStringList({"B", "○", "9", "1", "1", "1", "1", "1", "1", "6"}));
    EXPECT_EQ(Row(g2, 3), QStringList({"A", "◎", "10", "0", "0", "0", "0", "0", "9", "9"}));
    for (int c = 0; c < g2->Cols(); ++c) EXPECT_EQ(g2->HeaderAlignment(c), Grid::Alignment::Centre);

    // The button of the screen on show does nothing: a sorted table stays.
    ClickCell(g2, 1, 2);
    const QStringList sorted = Column(g2, 0);
    Click("cmdIchiran2");
    EXPECT_EQ(Column(g2, 0), sorted);
    EXPECT_EQ(fake->dialogs.size(), 1u);

    // Another list empties this one; coming back refills it in catalogue order.
    fake->Answer();
    Click("cmdIchiran");
    EXPECT_FALSE(Visible("fraIchiran2"));
    EXPECT_EQ(Column(g2, 0), QStringList({"", "", ""}));
    EXPECT_EQ(g2->TextMatrix(0, 2), QStringLiteral("総合"));
    Grid* g1 = G("msgIchiran");
    EXPECT_EQ(Row(g1, 0), QStringList({"タイトル名", "監督", "主演", "公開日", "国", "ジャンル"}));
    EXPECT_EQ(Row(g1, 2), QStringList({"C", "d1", "l-C", "1999/12", "k", "g"}));
    EXPECT_TRUE(fake->dialogs.back().text.contains(QStringLiteral(
        "「メインに反映ボタン」を押すと並び替えた順番でメインの順番も入れ替わります。")));

    fake->Answer();
    Click("cmdIchiran3");
    Grid* g3 = G("msgIchiran3");
    EXPECT_EQ(Row(g3, 0), QStringList({"タイトル名", "ＤＶＤ", "ブルーレイ", "ビデオ", "配信",
                                       "キャスト", "あらすじ", "感想・メモ"}));
    EXPECT_EQ(Row(g3, 2), QStringList({"C", "○", "", "", "", "", "", "○"}));
    EXPECT_EQ(Column(g1, 0), QStringList({"", "", ""}));

    fake->Answer();
    Click("cmdIchiran2");
    EXPECT_EQ(Column(g2, 0), QStringList({"B", "C", "A"}));
    EXPECT_EQ(fake->waitPointerDepth, 0);
    EXPECT_TRUE(fake->AllAnswered());
}

// The first click on a column sorts it downwards; each column of each table
// keeps its own memory for as long as the window lives.
TEST_F(ListScreensTest, ClicksSortDescendingFirstThenAlternatePerColumnAndTable) {
    StartWith(ThreeTitles());
    Click("cmdIchiran");
    Grid* g = G("msgIchiran");
    ClickCell(g, 2, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d3", "d2", "d1"}));
    EXPECT_EQ(Column(g, 0), QStringList({"A", "B", "C"}));  // whole rows move
    ClickCell(g, 3, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d1", "d2", "d3"}));
    // Another column starts downwards too.
    ClickCell(g, 1, 3);
    EXPECT_EQ(Column(g, 3), QStringList({"2001/05", "1999/12", ""}));
    // A header cell sorts its column like a body cell.
    ClickHeader(g, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d3", "d2", "d1"}));
    // The title column sorts by no click.
    ClickCell(g, 1, 0);
    EXPECT_EQ(Column(g, 0), QStringList({"A", "B", "C"}));
    ClickHeader(g, 0);
    EXPECT_EQ(Column(g, 0), QStringList({"A", "B", "C"}));

    // Column 1 of the evaluation table has a memory of its own: it starts downwards.
    Click("cmdIchiran2");
    Grid* g2 = G("msgIchiran2");
    ClickCell(g2, 1, 1);
    EXPECT_EQ(Column(g2, 0), QStringList({"A", "B", "C"}));

    // Back on the main list, refilled: column 1 went down last, so it now goes up.
    Click("cmdIchiran");
    EXPECT_EQ(Column(g, 1), QStringList({"d2", "d1", "d3"}));
    ClickCell(g, 1, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d1", "d2", "d3"}));
    ClickCell(g, 1, 3);
    EXPECT_EQ(Column(g, 3), QStringList({"", "1999/12", "2001/05"}));
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(ListScreensTest, ScoresSortAsNumbersAndTheRatingAsText) {
    StartWith(ThreeTitles());
    Click("cmdIchiran2");
    Grid* g = G("msgIchiran2");
    ClickCell(g, 1, 2);
    EXPECT_EQ(Column(g, 2), QStringList({"100", "10", "9"}));
    ClickCell(g, 1, 2);
    EXPECT_EQ(Column(g, 2), QStringList({"9", "10", "100"}));
    ClickHeader(g, 9);
    EXPECT_EQ(Column(g, 9), QStringList({"12", "9", "6"}));
    // As text: "◎" (U+25CE) after "○" (U+25CB) after the empty rating.
    ClickCell(g, 1, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"◎", "○", ""}));
}

TEST_F(ListScreensTest, DoubleClickOnATitleJumpsToItAfterSorting) {
    // A title may bear the header's own text; the header still jumps nowhere.
    StartWith(ThreeTitles() + Record("\x83\x5e\x83\x43\x83\x67\x83\x8b\x96\xbc"));  // タイトル名
    Click("cmdIchiran2");
    Grid* g = G("msgIchiran2");
    // Only its click sorts; the double-click on another column jumps nowhere.
    DoubleClick(g->viewport(), CentreOf(g, 2, 3));
    DoubleClick(g->horizontalHeader()->viewport(), HeaderPoint(g, 0));
    EXPECT_TRUE(Visible("fraIchiran2"));
    EXPECT_EQ(window->JumpTitle, 0);
    EXPECT_EQ(Column(g, 0), QStringList({"C", "B", "A", "タイトル名"}));

    ClickCell(g, 1, 2);
    ASSERT_EQ(Column(g, 0), QStringList({"C", "A", "B", "タイトル名"}));

    DoubleClick(g->viewport(), CentreOf(g, 2, 0));
    EXPECT_TRUE(Visible("fraMain"));
    EXPECT_FALSE(Visible("fraIchiran2"));
    EXPECT_TRUE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(window->JumpTitle, 3);
    EXPECT_EQ(Shown(), QStringLiteral("A"));
    EXPECT_EQ(Find<QScrollBar>("hsbData")->value(), 3);
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(ListScreensTest, TitleButtonSortsTheTitlesDownThenUp) {
    StartWith(ThreeTitles());
    Click("cmdIchiran");
    EXPECT_EQ(Find<QPushButton>("cmdSort1_0")->text(), QStringLiteral("タイトル"));
    Grid* g = G("msgIchiran");
    Click("cmdSort1_0");
    EXPECT_EQ(Column(g, 0), QStringList({"C", "B", "A"}));
    Click("cmdSort1_0");
    EXPECT_EQ(Column(g, 0), QStringList({"A", "B", "C"}));
    EXPECT_EQ(Column(g, 1), QStringList({"d3", "d2", "d1"}));
    // Its memory is not the grid's: column 1 still starts downwards.
    ClickCell(g, 1, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d3", "d2", "d1"}));
    ClickCell(g, 1, 1);
    EXPECT_EQ(Column(g, 1), QStringList({"d1", "d2", "d3"}));
}

TEST_F(ListScreensTest, ApplyingWritesTheTableOrderAndShowsTitleOne) {
    const QByteArray x = Record("X", "dx");
    const QByteArray y = Record("Y", "dy", "1999/12", "1,0,0,0,0,0,10", kMark);
    const QByteArray z = Record("Z", "dz", "2001/05", "100,1,2,3,4,5,6", "\x81\xa2");  // △
    StartWith(x + y + z);
    ASSERT_EQ(Shown(), QStringLiteral("X"));
    Click("cmdIchiran");
    Grid* g = G("msgIchiran");
    ClickCell(g, 1, 3);  // release, latest first, none last
    fake->Answer(Platform::Answer::Ok);
    fake->Answer(Platform::Answer::Ok);
    Click("cmdSortCng1");

    ASSERT_EQ(fake->dialogs.size(), 2u);
    const Dialog& ask = fake->dialogs[0];
    EXPECT_EQ(ask.text, QStringLiteral("現在表示中の順番でメインのデータも並び替えますか？") +
                            kCrLf + kCrLf + QStringLiteral("良かったらＯＫボタンを押してください"));
    EXPECT_EQ(ask.title, QStringLiteral("メイン並び替え確認"));
    EXPECT_EQ(ask.icon, Platform::Icon::Warning);
    EXPECT_EQ(ask.buttons, Platform::Buttons::OkCancel);
    const Dialog& done = fake->dialogs[1];
    EXPECT_EQ(done.text, QStringLiteral("並び替えた順番をメインの順番に反映させました。"));
    EXPECT_EQ(done.title, QStringLiteral("並び替え完了"));
    EXPECT_EQ(done.icon, Platform::Icon::Information);

    // Latest release first, none last, every field with its title.
    EXPECT_EQ(ReadFile(kData), z + y + x);
    EXPECT_EQ(window->catalogue.strDaimei[1], QStringLiteral("Z"));
    EXPECT_EQ(Shown(), QStringLiteral("Z"));
    EXPECT_TRUE(window->GalleryOutOfDate);
    EXPECT_TRUE(Visible("fraIchiran"));
    EXPECT_EQ(Column(g, 0), QStringList({"Z", "Y", "X"}));

    // Title 1 is shown anew even when the scroll bar stood on it already.
    ASSERT_EQ(Find<QScrollBar>("hsbData")->value(), 1);
    Click("cmdSort1_0");
    Click("cmdSort1_0");
    fake->Answer();
    fake->Answer();
    Click("cmdSortCng1");
    EXPECT_EQ(ReadFile(kData), x + y + z);
    EXPECT_EQ(Find<QScrollBar>("hsbData")->value(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("X"));
    EXPECT_TRUE(fake->AllAnswered());
}

TEST_F(ListScreensTest, CancelOrNoTitlesWritesNothing) {
    StartWith(ThreeTitles());
    Click("cmdIchiran");
    Click("cmdSort1_0");
    fake->Answer(Platform::Answer::Cancel);
    Click("cmdSortCng1");
    EXPECT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(ReadFile(kData), ThreeTitles());
    EXPECT_EQ(window->catalogue.strDaimei[1], QStringLiteral("B"));
    EXPECT_FALSE(window->GalleryOutOfDate);

    WriteFile(kData, {});
    fake->dialogs.clear();
    Restart();
    Click("cmdIchiran");
    ASSERT_EQ(G("msgIchiran")->Rows(), 1);
    Click("cmdSort1_0");
    ClickHeader(G("msgIchiran"), 1);
    DoubleClick(G("msgIchiran")->horizontalHeader()->viewport(), HeaderPoint(G("msgIchiran"), 0));
    Click("cmdSortCng1");
    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_TRUE(Visible("fraIchiran"));
    EXPECT_EQ(ReadFile(kData), QByteArray());
}

// The old file and the catalogue stay, the error is shown, and no done box follows.
TEST_F(ListScreensTest, FailedWriteKeepsTheOrderAndSaysSo) {
    StartWith(ThreeTitles());
    Click("cmdIchiran");
    Click("cmdSort1_0");
    fake->Answer();
    fake->Answer();
    {
        const FileSizeLimit limit(static_cast<rlim_t>(ThreeTitles().size() / 2));
        ASSERT_TRUE(limit.ok());
        Click("cmdSortCng1");
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_EQ(ReadFile(kData), ThreeTitles());
    EXPECT_EQ(window->catalogue.strDaimei[1], QStringLiteral("B"));
    EXPECT_FALSE(window->GalleryOutOfDate);
    EXPECT_EQ(Shown(), QStringLiteral("B"));
}

}  // namespace
