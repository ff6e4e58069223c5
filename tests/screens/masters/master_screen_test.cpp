#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"

namespace {

using Dialog = FakePlatform::Dialog;

const QString kCrLf = QStringLiteral("\r\n");
const QString kData = QStringLiteral("データ.TXT");
const QString kEvaluation = QStringLiteral("評価マスタ.txt");
const QString kOwnership = QStringLiteral("所有マスタ.txt");

// Title A scored 80 and 5 on items 1 and 2 and owned as item 2; B, C, D plain.
const QByteArray kTitleA = "\"A\",,,,,,,80,5,0,0,0,0,0,,\"\x81\x9b\",,\"\"\r\n";
const QByteArray kAbcd = kTitleA + sjis::Title("B") + sjis::Title("C") + sjis::Title("D");

// The record of a title in the layout of a whole-file write.
QByteArray Written(const QByteArray& name) {
    return "\"" + name + "\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}
const QByteArray kWrittenA =
    "\"A\",\"\",\"\",\"\",\"\",\"\",\"\",80,5,0,0,0,0,0,\"\",\"\x81\x9b\",\"\",\"\"\r\n";

class MasterScreenTest : public WindowTest {
protected:
    void StartWith(const QByteArray& data) {
        WriteMasters(false);
        WriteFile(kData, data);
        Start();
        ASSERT_TRUE(loaded);
        window->GalleryOutOfDate = false;
    }
    void Open() { window->button("cmdMaster")->click(); }
    void Click(const QString& name) { Find<QPushButton>(name)->click(); }
    QLineEdit* Hyouka(int k) const {
        return Find<QLineEdit>(QStringLiteral("txtHyouka_%1").arg(k));
    }
    QLineEdit* Syoyu(int k) const { return Find<QLineEdit>(QStringLiteral("txtSyoyu_%1").arg(k)); }
    QString Label(int k) const {
        return Find<QLabel>(QStringLiteral("lblHyouka1_%1").arg(k))->text();
    }
    QCheckBox* Owned(int k) const { return Find<QCheckBox>(QStringLiteral("chkSyoyu_%1").arg(k)); }
    QListView* List() const { return Find<QListView>("lstBicho"); }
    QStringList Entries() const {
        QStringList names;
        const auto* m = List()->model();
        for (int r = 0; r < m->rowCount(); ++r) names += m->index(r, 0).data().toString();
        return names;
    }
    // Presses the mouse on one entry and releases it on another.
    void Drag(int from, int onto) {
        QListView* l = List();
        QWidget* vp = l->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {},
                          l->visualRect(l->model()->index(from, 0)).center());
        QTest::mouseRelease(vp, Qt::LeftButton, {},
                            l->visualRect(l->model()->index(onto, 0)).center());
    }
    QColor ApplyColour() const {
        return Find<QPushButton>("cmdSortCng2")->palette().color(QPalette::Button);
    }
    QColor NormalColour() const {
        return QApplication::palette(Find<QPushButton>("cmdSortCng2")).color(QPalette::Button);
    }
    void ExpectQuestion(const Dialog& d, const QString& first, const QString& title) const {
        EXPECT_EQ(d.text,
                  first + kCrLf + kCrLf + QStringLiteral("良かったらＯＫボタンを押してください"));
        EXPECT_EQ(d.title, title);
        EXPECT_EQ(d.icon, Platform::Icon::Warning);
        EXPECT_EQ(d.buttons, Platform::Buttons::OkCancel);
    }
};

TEST_F(MasterScreenTest, SavedEvaluationNamesAreSevenQuotedLinesAndSurviveARestart) {
    StartWith(kAbcd);
    Open();
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(Hyouka(k)->text(), Label(k));
    EXPECT_EQ(Hyouka(2)->text(), QStringLiteral("感動・涙"));

    const QStringList names = {"物語", "", "Action", "B4", "C5", "D6", "E7"};
    for (int k = 1; k <= 7; ++k) Hyouka(k)->setText(names[k - 1]);
    fake->Answer(Platform::Answer::Ok);
    Click("cmdHyoukaHozon");
    ASSERT_EQ(fake->dialogs.size(), 1u);  // no box after the save
    ExpectQuestion(fake->dialogs[0], QStringLiteral("表示中の評価項目で保存してよろしいですか？"),
                   QStringLiteral("評価項目変更確認"));
    EXPECT_EQ(ReadFile(kEvaluation),
              QByteArray("\"\x95\xa8\x8c\xea\"\r\n\"\"\r\n\"Action\"\r\n\"B4\"\r\n\"C5\"\r\n"
                         "\"D6\"\r\n\"E7\"\r\n"));
    EXPECT_EQ(ReadFile(kOwnership), sjis::kOwnershipMaster);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(Label(k), names[k - 1]);
        EXPECT_EQ(window->masters.strHyoukaKoumoku[k], names[k - 1]);
    }
    // The emptied item keeps its scores.
    EXPECT_EQ(ReadFile(kData), kAbcd);
    EXPECT_EQ(Find<QComboBox>("cboHyouka1_2")->currentText(), QStringLiteral("5"));

    Restart();
    ASSERT_TRUE(loaded);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(Label(k), names[k - 1]);
        EXPECT_EQ(Hyouka(k)->text(), names[k - 1]);
    }
}

TEST_F(MasterScreenTest, RenamedOwnershipItemFollowsOnEveryCaptionAtOnce) {
    StartWith(kAbcd);
    QStringList announced;
    QObject::connect(window.get(), &frmMain::itemMastersRenamed, window.get(),
                     [&] { announced += window->masters.strSyoyuKoumoku[2]; });
    Open();
    Syoyu(2)->setText(QStringLiteral("貸出中"));
    fake->Answer(Platform::Answer::Ok);
    Click("lblSyoyuHozon");
    ASSERT_EQ(fake->dialogs.size(), 1u);
    ExpectQuestion(fake->dialogs[0], QStringLiteral("表示中の所有項目で保存してよろしいですか？"),
                   QStringLiteral("所有項目変更確認"));
    EXPECT_EQ(ReadFile(kOwnership),
              QByteArray("\"\x82\x63\x82\x75\x82\x63\"\r\n\"\x91\xdd\x8f\x6f\x92\x86\"\r\n"
                         "\"\x83\x72\x83\x66\x83\x49\"\r\n\"\x94\x7a\x90\x4d\"\r\n"));
    EXPECT_EQ(Owned(2)->text(), QStringLiteral("貸出中"));
    EXPECT_EQ(Owned(1)->text(), QStringLiteral("ＤＶＤ"));
    // The search screen hears of it through the window.
    EXPECT_EQ(announced, QStringList{QStringLiteral("貸出中")});
    EXPECT_TRUE(Owned(2)->isChecked());
    EXPECT_EQ(ReadFile(kData), kAbcd);
}

TEST_F(MasterScreenTest, CancelAndUnsavedTypingChangeNothingButTheBoxes) {
    StartWith(kAbcd);
    Open();
    Hyouka(3)->setText(QStringLiteral("未保存"));
    fake->Answer(Platform::Answer::Cancel);
    Click("cmdHyoukaHozon");
    EXPECT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(ReadFile(kEvaluation), sjis::kEvaluationMaster);
    EXPECT_EQ(Label(3), QStringLiteral("笑い"));
    EXPECT_EQ(window->masters.strHyoukaKoumoku[3], QStringLiteral("笑い"));

    // Leaving and coming back, and saving the other master, keep the typing.
    window->button("cmdMain")->click();
    Open();
    EXPECT_EQ(Hyouka(3)->text(), QStringLiteral("未保存"));
    fake->Answer(Platform::Answer::Ok);
    Click("lblSyoyuHozon");
    EXPECT_EQ(Hyouka(3)->text(), QStringLiteral("未保存"));
    EXPECT_EQ(Label(3), QStringLiteral("笑い"));
    EXPECT_TRUE(fake->AllAnswered());
}

TEST_F(MasterScreenTest, NamesTheFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    StartWith(kAbcd);
    Open();
    Hyouka(4)->setText(QStringLiteral("say \"hi\""));
    fake->Answer();
    Click("cmdHyoukaHozon");
    ASSERT_EQ(fake->dialogs.size(), 1u);  // the warning, no question
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("次の文字はファイルに保存できないため使えません：「\"」"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("入力制限"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Warning);

    Syoyu(1)->setText(QStringLiteral("Blu-ray\U0001F4BF"));
    fake->Answer();
    Click("lblSyoyuHozon");
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("入力制限"));
    EXPECT_TRUE(fake->dialogs[1].text.contains(QStringLiteral("\U0001F4BF")));

    EXPECT_EQ(ReadFile(kEvaluation), sjis::kEvaluationMaster);
    EXPECT_EQ(ReadFile(kOwnership), sjis::kOwnershipMaster);
    EXPECT_EQ(Label(4), QStringLiteral("ほのぼの"));
    EXPECT_EQ(Owned(1)->text(), QStringLiteral("ＤＶＤ"));
}

TEST_F(MasterScreenTest, AFailedWriteKeepsTheOldFileTheNamesAndTheCaptions) {
    StartWith(kAbcd);
    Open();
    Hyouka(1)->setText(QStringLiteral("Overall"));
    int announced = 0;
    QObject::connect(window.get(), &frmMain::itemMastersRenamed, window.get(),
                     [&] { ++announced; });
    fake->Answer(Platform::Answer::Ok);
    fake->Answer();  // the error box
    {
        FileSizeLimit limit(4);
        ASSERT_TRUE(limit.ok());
        Click("cmdHyoukaHozon");
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(kEvaluation)) << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(ReadFile(kEvaluation), sjis::kEvaluationMaster);
    EXPECT_EQ(Label(1), QStringLiteral("総合"));
    EXPECT_EQ(window->masters.strHyoukaKoumoku[1], QStringLiteral("総合"));
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(Hyouka(1)->text(), QStringLiteral("Overall"));
}

TEST_F(MasterScreenTest, DraggingMovesAnEntryInFrontOfItsTargetAndMarksTheButton) {
    StartWith(kAbcd);
    Open();
    EXPECT_EQ(Entries(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(ApplyColour(), NormalColour());

    Drag(0, 1);  // A onto B
    EXPECT_EQ(Entries(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(ApplyColour(), NormalColour());
    Drag(1, 1);  // onto itself
    EXPECT_EQ(ApplyColour(), NormalColour());

    Drag(0, 2);  // A onto C
    EXPECT_EQ(Entries(), (QStringList{"B", "A", "C", "D"}));
    EXPECT_EQ(ApplyColour(), QColor(255, 224, 192));

    // Opening the screen again drops moves not applied.
    Open();
    EXPECT_EQ(Entries(), (QStringList{"A", "B", "C", "D"}));
    Drag(3, 1);  // D onto B
    EXPECT_EQ(Entries(), (QStringList{"A", "D", "B", "C"}));
    EXPECT_EQ(ReadFile(kData), kAbcd);  // moving never writes
}

TEST_F(MasterScreenTest, ApplyingWritesTheListOrderAndShowsTitleOne) {
    StartWith(kAbcd);
    Open();
    Drag(3, 1);  // A, D, B, C
    Drag(1, 0);  // D, A, B, C

    // Cancel: nothing written, the moves stay.
    fake->Answer(Platform::Answer::Cancel);
    Click("cmdSortCng2");
    EXPECT_EQ(ReadFile(kData), kAbcd);
    EXPECT_EQ(ApplyColour(), QColor(255, 224, 192));

    fake->Answer(Platform::Answer::Ok);
    fake->Answer();
    Click("cmdSortCng2");
    ASSERT_EQ(fake->dialogs.size(), 3u);
    ExpectQuestion(fake->dialogs[1],
                   QStringLiteral("表示順位微調整リストの順番でメインのデータも並び替えますか？"),
                   QStringLiteral("メイン並び替え確認"));
    EXPECT_EQ(fake->dialogs[2].text,
              QStringLiteral("並び替えた順番をメインの順番に反映させました。"));
    EXPECT_EQ(fake->dialogs[2].title, QStringLiteral("並び替え完了"));
    EXPECT_EQ(fake->dialogs[2].icon, Platform::Icon::Information);

    EXPECT_EQ(ReadFile(kData), Written("D") + kWrittenA + Written("B") + Written("C"));
    EXPECT_EQ(window->catalogue.strDaimei[1], QStringLiteral("D"));
    // Title 1 is shown even though the scroll bar stood on 1 already.
    EXPECT_EQ(Find<QComboBox>("cboName")->currentText(), QStringLiteral("D"));
    EXPECT_EQ(Find<QLabel>("lblKensu")->text(), QStringLiteral("1 / 4"));
    EXPECT_TRUE(window->GalleryOutOfDate);
    EXPECT_EQ(ApplyColour(), NormalColour());
    EXPECT_TRUE(window->frame("fraMaster")->isVisible());
    EXPECT_EQ(Entries(), (QStringList{"D", "A", "B", "C"}));
}

TEST_F(MasterScreenTest, AFailedReorderShowsTheErrorAndNeitherTheDoneBoxNorTheColour) {
    StartWith(kAbcd);
    Open();
    Drag(0, 3);  // B, C, A, D
    fake->Answer(Platform::Answer::Ok);
    fake->Answer();  // the error box
    {
        FileSizeLimit limit(16);
        ASSERT_TRUE(limit.ok());
        Click("cmdSortCng2");
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(kData)) << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(ReadFile(kData), kAbcd);
    EXPECT_EQ(window->catalogue.strDaimei[1], QStringLiteral("A"));
    EXPECT_EQ(ApplyColour(), QColor(255, 224, 192));
    EXPECT_FALSE(window->GalleryOutOfDate);
}

}  // namespace
