#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cerrno>
#include <csignal>

#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"
#include "window/grid.h"

namespace {

// CP932 bytes of the names and contents used below.
const QByteArray kShichinin = "\x8e\xb5\x90\x6c\x82\xcc\x8e\x98";  // 七人の侍
const QByteArray kTokyo = "\x93\x8c\x8b\x9e\x95\xa8\x8c\xea";      // 東京物語
const QByteArray kRashomon = "\x97\x85\x90\xb6\x96\xe5";           // 羅生門
const QByteArray kEigakan = "\x89\x66\x89\xe6\x8a\xd9";            // 映画館
const QByteArray kDvd = "\x82\x63\x82\x75\x82\x63";                // ＤＶＤ
const QByteArray kTerebi = "\x83\x65\x83\x8c\x83\x72";             // テレビ

const QString kHistory = QStringLiteral("鑑賞履歴.TXT");
const QString kCopy = QStringLiteral("鑑賞履歴コピー.txt");

QByteArray Title(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}

QByteArray Viewing(const QByteArray& date, const QByteArray& title, const QByteArray& content) {
    return "\"" + date + "\",\"" + title + "\",\"" + content + "\"\r\n";
}

class ViewingEntryTest : public WindowTest {
protected:
    void StartWith(const QByteArray& titles, const QByteArray& history) {
        WriteMasters();
        WriteFile(QStringLiteral("データ.TXT"), titles);
        WriteFile(kHistory, history);
        Start();
        ASSERT_TRUE(loaded);
        grid = Find<Grid>("msgKansyou");
        panel = Find<QGroupBox>("fraRirekiHozon");
        date = Find<QLineEdit>("txtKansyoubi");
        content = Find<QComboBox>("cboKansyou");
        save = Find<QPushButton>("cmdRirekiHozon");
        cancel = Find<QPushButton>("cmdYame1");
    }

    // A double-click on a body cell of the title's history grid (row 1..).
    void DoubleClickCell(int row, int col) {
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, col));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void DoubleClickHeader() {
        QHeaderView* header = grid->horizontalHeader();
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    // The grid's empty space below its rows.
    void DoubleClickBelowRows() {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           QPoint(20, grid->viewport()->height() - 10));
    }

    // Empties the field and types the text as through the input method.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        if (text.isEmpty()) return;
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(edit, &typed);
    }

    static std::vector<QStringList> Body(const Grid* g) {
        std::vector<QStringList> rows;
        for (int r = 1; r < g->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->Cols(); ++c) cells << g->TextMatrix(r, c);
            rows.push_back(cells);
        }
        return rows;
    }

    QStringList ContentList() const {
        QStringList items;
        for (int i = 0; i < content->count(); ++i) items << content->itemText(i);
        return items;
    }

    void ExpectWarning(size_t k, const QString& text, const QString& title) const {
        ASSERT_GT(fake->dialogs.size(), k);
        const FakePlatform::Dialog& d = fake->dialogs[k];
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.title, title);
        EXPECT_EQ(d.icon, Platform::Icon::Warning);
        EXPECT_EQ(d.buttons, Platform::Buttons::Ok);
    }

    Grid* grid = nullptr;
    QGroupBox* panel = nullptr;
    QLineEdit* date = nullptr;
    QComboBox* content = nullptr;
    QPushButton* save = nullptr;
    QPushButton* cancel = nullptr;
};

TEST_F(ViewingEntryTest, SameDayAsTheLastRecordIsAppendedAfterIt) {
    const QByteArray old =
        Viewing("2004/07/15", kShichinin, kEigakan) + Viewing("2004/08/01", kTokyo, kDvd);
    StartWith(Title(kShichinin) + Title(kTokyo), old);
    EXPECT_EQ(Body(grid), (std::vector<QStringList>{{"1", "04/07/15", "映画館"}}));
    EXPECT_FALSE(panel->isVisible());

    DoubleClickCell(1, 1);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(date->text(), QStringLiteral("2026/12/08"));
    EXPECT_EQ(content->currentText(), QString());
    EXPECT_EQ(ContentList(), (QStringList{"映画館", "ＤＶＤ"}));

    Type(date, QStringLiteral("2004/08/01"));
    Type(content->lineEdit(), QStringLiteral("テレビ"));
    QTest::mouseClick(save, Qt::LeftButton);

    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_EQ(ReadFile(kHistory), old + Viewing("2004/08/01", kShichinin, kTerebi));
    EXPECT_FALSE(Exists(kCopy));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Body(grid),
              (std::vector<QStringList>{{"1", "04/07/15", "映画館"}, {"2", "04/08/01", "テレビ"}}));
    EXPECT_EQ(Body(Find<Grid>("msgHenList")),
              (std::vector<QStringList>{{"1", "2004/07/15", "七人の侍", "映画館"},
                                        {"2", "2004/08/01", "東京物語", "ＤＶＤ"},
                                        {"3", "2004/08/01", "七人の侍", "テレビ"}}));
    EXPECT_EQ(content->currentText(), QString());
    EXPECT_EQ(ContentList(), (QStringList{"映画館", "ＤＶＤ", "テレビ"}));
}

TEST_F(ViewingEntryTest, EarlierDateGoesAfterItsSameDatesAndIsStoredInFullForm) {
    // Contents in first-appearance order are not in sorted order here.
    const QByteArray first =
        Viewing("2004/07/05", kTokyo, kEigakan) + Viewing("2004/07/05", kShichinin, kTerebi);
    const QByteArray rest =
        Viewing("2004/07/20", kTokyo, kEigakan) + Viewing("2004/08/01", kShichinin, kTerebi);
    StartWith(Title(kShichinin) + Title(kTokyo), first + rest);
    EXPECT_EQ(ContentList(), (QStringList{"映画館", "テレビ"}));

    DoubleClickCell(2, 0);
    ASSERT_TRUE(panel->isVisible());
    Type(date, QStringLiteral("2004/7/5"));
    Type(content->lineEdit(), QStringLiteral("ＤＶＤ"));
    QTest::mouseClick(save, Qt::LeftButton);

    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_EQ(ReadFile(kHistory), first + Viewing("2004/07/05", kShichinin, kDvd) + rest);
    EXPECT_FALSE(Exists(kCopy));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Body(grid), (std::vector<QStringList>{{"1", "04/07/05", "テレビ"},
                                                    {"2", "04/07/05", "ＤＶＤ"},
                                                    {"3", "04/08/01", "テレビ"}}));
    ASSERT_EQ(Find<Grid>("msgHenList")->Rows(), 6);
    EXPECT_EQ(Body(Find<Grid>("msgHenList"))[2],
              (QStringList{"3", "2004/07/05", "七人の侍", "ＤＶＤ"}));
    EXPECT_EQ(Body(Find<Grid>("msgHenList"))[3],
              (QStringList{"4", "2004/07/20", "東京物語", "映画館"}));
    EXPECT_EQ(ContentList(), (QStringList{"映画館", "テレビ", "ＤＶＤ"}));
}

TEST_F(ViewingEntryTest, FirstViewingOfAnEmptyHistory) {
    StartWith(Title(kShichinin) + Title(kRashomon), QByteArray());
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(grid->TextMatrix(0, 0), QStringLiteral("回"));
    EXPECT_EQ(grid->TextMatrix(0, 1), QStringLiteral("鑑賞日"));

    // No rows yet: the empty part of the grid opens the panel.
    DoubleClickBelowRows();
    ASSERT_TRUE(panel->isVisible());
    Type(content->lineEdit(), QStringLiteral("映画館"));
    QTest::mouseClick(save, Qt::LeftButton);

    EXPECT_EQ(ReadFile(kHistory), Viewing("2026/12/08", kShichinin, kEigakan));
    EXPECT_EQ(Body(grid), (std::vector<QStringList>{{"1", "26/12/08", "映画館"}}));
    EXPECT_EQ(grid->ColWidth(2), 0);
    EXPECT_EQ(Body(Find<Grid>("msgHenList")),
              (std::vector<QStringList>{{"1", "2026/12/08", "七人の侍", "映画館"}}));

    // A title with no viewings: the header row alone; its header opens the panel.
    QScrollBar* bar = Find<QScrollBar>("hsbData");
    // The arrow at the right end of the title scroll bar.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 5, bar->height() / 2));
    EXPECT_EQ(Find<QComboBox>("cboName")->currentText(), QStringLiteral("羅生門"));
    EXPECT_EQ(grid->Rows(), 1);
    DoubleClickHeader();
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(ViewingEntryTest, ChecksRefuseInTheirOrderAndKeepThePanel) {
    const QByteArray old = Viewing("2004/07/15", kShichinin, kEigakan);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);
    ASSERT_TRUE(panel->isVisible());

    Type(date, QString());
    Type(content->lineEdit(), QString());
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);
    ExpectWarning(0, QStringLiteral("鑑賞日が入力されていません"), QStringLiteral("入力漏れ"));
    EXPECT_TRUE(panel->isVisible());

    Type(date, QStringLiteral("2004/08/01"));
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);
    ExpectWarning(1, QStringLiteral("鑑賞内容が入力されていません"), QStringLiteral("入力漏れ"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(date->text(), QStringLiteral("2004/08/01"));

    Type(date, QStringLiteral("2004/13/45"));
    Type(content->lineEdit(), QStringLiteral("テレビ"));
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);
    ExpectWarning(2, QStringLiteral("日付の形式ではありません"), QStringLiteral("日付入力違い"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(date->text(), QStringLiteral("2004/13/45"));
    EXPECT_EQ(content->currentText(), QStringLiteral("テレビ"));

    EXPECT_EQ(fake->dialogs.size(), 3u);
    EXPECT_EQ(ReadFile(kHistory), old);
    EXPECT_EQ(Body(grid).size(), 1u);
}

TEST_F(ViewingEntryTest, CancelSavesNothingAndTheContentStaysForNextTime) {
    const QByteArray old = Viewing("2004/07/15", kShichinin, kEigakan);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);
    Type(date, QStringLiteral("2005/01/01"));
    Type(content->lineEdit(), QStringLiteral("テレビ"));
    QTest::mouseClick(cancel, Qt::LeftButton);

    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(ReadFile(kHistory), old);
    EXPECT_EQ(Body(grid).size(), 1u);

    DoubleClickCell(1, 0);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(date->text(), QStringLiteral("2026/12/08"));
    EXPECT_EQ(content->currentText(), QStringLiteral("テレビ"));
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(ViewingEntryTest, TextTheFileCannotHoldIsRefusedBeforeAnythingIsStored) {
    const QByteArray old = Viewing("2004/07/15", kShichinin, kEigakan);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);

    Type(content->lineEdit(), QStringLiteral("映画館\"特別\""));
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);
    ExpectWarning(0, QStringLiteral("次の文字はファイルに保存できないため使えません：「\"」"),
                  QStringLiteral("入力制限"));
    EXPECT_TRUE(panel->isVisible());

    // Hangul has no place in CP932: refused, never written as "?".
    Type(content->lineEdit(), QStringLiteral("극장"));
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);
    ExpectWarning(1, QStringLiteral("次の文字はファイルに保存できないため使えません：「극」「장」"),
                  QStringLiteral("入力制限"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(content->currentText(), QStringLiteral("극장"));
    EXPECT_EQ(ReadFile(kHistory), old);
}

TEST_F(ViewingEntryTest, NameTypedIntoTheTitleBoxIsNoTitle) {
    const QByteArray old = Viewing("2004/07/15", kShichinin, kEigakan);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);
    Type(Find<QComboBox>("cboName")->lineEdit(), QStringLiteral("七人の侍２"));
    Type(content->lineEdit(), QStringLiteral("テレビ"));
    fake->Answer();
    QTest::mouseClick(save, Qt::LeftButton);

    ExpectWarning(0, QStringLiteral("「七人の侍２」というタイトルは登録されていません。"),
                  QStringLiteral("タイトル名違い"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(ReadFile(kHistory), old);
}

TEST_F(ViewingEntryTest, WithNoTitlesThePanelDoesNotOpen) {
    StartWith(QByteArray(), QByteArray());
    DoubleClickHeader();
    DoubleClickBelowRows();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(ReadFile(kHistory), QByteArray());
}

TEST_F(ViewingEntryTest, FailedWriteLosesNothingAndKeepsTheEntry) {
    const QByteArray old =
        Viewing("2004/07/15", kShichinin, kEigakan) + Viewing("2004/08/01", kShichinin, kDvd);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);

    for (const QString& day : {QStringLiteral("2004/08/02"), QStringLiteral("2004/07/20")}) {
        SCOPED_TRACE(day.toStdString());
        const size_t before = fake->dialogs.size();
        Type(date, day);
        Type(content->lineEdit(), QStringLiteral("テレビ"));
        fake->Answer();
        {
            FileSizeLimit limit(old.size() - 1);
            QTest::mouseClick(save, Qt::LeftButton);
        }
        ASSERT_EQ(fake->dialogs.size(), before + 1);
        const FakePlatform::Dialog& box = fake->dialogs.back();
        EXPECT_EQ(box.title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(box.icon, Platform::Icon::Critical);
        EXPECT_TRUE(box.text.contains(QStringLiteral("鑑賞履歴"))) << box.text.toStdString();
        EXPECT_EQ(ReadFile(kHistory), old);
        EXPECT_FALSE(Exists(kCopy));
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(date->text(), day);
        EXPECT_EQ(content->currentText(), QStringLiteral("テレビ"));
        EXPECT_EQ(Body(grid).size(), 2u);
    }

    // Room again: the same entry goes in.
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(ReadFile(kHistory), Viewing("2004/07/15", kShichinin, kEigakan) +
                                      Viewing("2004/07/20", kShichinin, kTerebi) +
                                      Viewing("2004/08/01", kShichinin, kDvd));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Body(grid).size(), 3u);
}

// Only the folder's fsync failed: the viewing is in the file. The box says so,
// and the panel closes as after a save, so the viewing is recorded once.
TEST_F(ViewingEntryTest, AViewingWrittenButNotYetSafeIsRecordedOnceAndThePanelCloses) {
    const QByteArray old = Viewing("2004/07/15", kShichinin, kEigakan);
    StartWith(Title(kShichinin), old);
    DoubleClickCell(1, 1);
    Type(date, QStringLiteral("2004/08/01"));
    Type(content->lineEdit(), QStringLiteral("テレビ"));
    fake->Answer();
    {
        testsupport::FaultInjection faults({.folderSyncError = EIO});
        QTest::mouseClick(save, Qt::LeftButton);
    }
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("ファイル「鑑賞履歴.TXT」：変更は書き込みましたが、まだディスクに確実"
                             "には保存されていないおそれがあります（ディスクの読み書きでエラーが"
                             "起きました）"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルの警告"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(ReadFile(kHistory), old + Viewing("2004/08/01", kShichinin, kTerebi));
    EXPECT_EQ(Body(grid),
              (std::vector<QStringList>{{"1", "04/07/15", "映画館"}, {"2", "04/08/01", "テレビ"}}));
}

}  // namespace
