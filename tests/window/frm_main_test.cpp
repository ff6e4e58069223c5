#include <sys/resource.h>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <cerrno>
#include <csignal>

#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_fixture.h"
#include "window/grid.h"
#include "window/qt_platform.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

using sjis::Titles;

const QStringList kScreens = {"fraMain",    "fraList",   "fraIchiran", "fraIchiran2", "fraIchiran3",
                              "fraKensaku", "fraMaster", "fraPic",     "fraRank"};

class StartupTest : public WindowTest {
protected:
    QStringList VisibleScreens() const {
        QStringList visible;
        for (const QString& name : kScreens) {
            if (window->frame(name)->isVisible()) visible << name;
        }
        return visible;
    }
    QString Shown() const { return Find<QComboBox>("cboName")->currentText(); }
    QString Counter() const { return Find<QLabel>("lblKensu")->text(); }
};

TEST_F(StartupTest, FirstStartWithoutFilesMakesThemAndShowsAnEmptyCatalogue) {
    fake->Answer();  // the two start-up explanations: the tour is on by default
    fake->Answer();
    Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ホシノートＷ"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Counter(), QStringLiteral("0 / 0"));
    EXPECT_TRUE(Exists(QStringLiteral("データ.TXT")));
    EXPECT_EQ(ReadFile(QStringLiteral("データ.TXT")), QByteArray());
    EXPECT_EQ(Find<QScrollBar>("hsbData")->maximum(), 1);
    EXPECT_EQ(VisibleScreens(), QStringList{"fraMain"});
    EXPECT_TRUE(window->button("cmdDel")->isEnabled());
    // The masters and settings come with their defaults.
    EXPECT_EQ(Find<QLabel>("lblHyouka1_1")->text(), QStringLiteral("総合"));
    EXPECT_EQ(Find<QLabel>("lblHyouka1_7")->text(), QStringLiteral("セクシー"));
    EXPECT_TRUE(window->button("chkHelp")->isChecked());
    EXPECT_FALSE(window->IsLoading);
    EXPECT_FALSE(Exists(QStringLiteral("鑑賞履歴.TXT")));
    // No title: the rating and score lists show nothing, not their first entry.
    EXPECT_EQ(Find<QComboBox>("cboHyouka")->currentText(), QString());
    EXPECT_EQ(Find<QComboBox>("cboHyouka1_1")->currentText(), QString());
    EXPECT_EQ(Find<QComboBox>("cboHyouka")->count(), 3);
    EXPECT_EQ(Find<QComboBox>("cboHyouka1_1")->count(), 101);
    EXPECT_EQ(Find<QComboBox>("cboHyouka1_2")->count(), 11);
}

TEST_F(StartupTest, WindowAppearsAfterTheFloorAndThenTheTwoExplanations) {
    WriteMasters(true);
    WriteFile(QStringLiteral("データ.TXT"), Titles(2));
    std::vector<QString> order;
    fake->onWait = [&] { order.push_back(window->isVisible() ? "wait-visible" : "wait-hidden"); };
    fake->onDialog = [&](const FakePlatform::Dialog& d) {
        order.push_back((window->isVisible() ? "visible:" : "hidden:") + d.title);
    };
    fake->Answer();
    fake->Answer();
    Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(fake->waits, std::vector<qint64>{1500});
    const std::vector<QString> expected = {"wait-hidden", QStringLiteral("visible:ヘルプツアー"),
                                           QStringLiteral("visible:ヘルプツアー")};
    EXPECT_EQ(order, expected);
    ASSERT_EQ(fake->dialogs.size(), 2u);
    // The main screen is explained first, then where pictures and details come from.
    EXPECT_EQ(
        fake->dialogs[0].text.section(kCrLf, 0, 0),
        QStringLiteral(
            "起動時のこの画面はタイトル１題目に対しての各種情報が表示されているメイン画面です｡ "));
    EXPECT_EQ(fake->dialogs[1].text.section(kCrLf, 0, 0),
              QStringLiteral(
                  "タイトルの画像や各種情報はインターネット上から簡単に入手することができます。"));
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Information);
    EXPECT_EQ(Shown(), QStringLiteral("T1"));
    EXPECT_EQ(Counter(), QStringLiteral("1 / 2"));
}

TEST_F(StartupTest, SlowStartDoesNotWaitAndTourOffShowsNothing) {
    WriteMasters(false);
    fake->tick = 2000;  // every look at the clock finds 2 s more
    Start();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(fake->waits.empty());
    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_FALSE(window->button("chkHelp")->isChecked());
}

TEST_F(StartupTest, SettingTheTourButtonAtStartNeitherAsksNorWrites) {
    // Spelt as the program reads it; the program writes "設定.TXT".
    WriteFile(QStringLiteral("設定.txt"), sjis::kSettingsOff);
    WriteFile(QStringLiteral("評価マスタ.txt"), sjis::kEvaluationMaster);
    WriteFile(QStringLiteral("所有マスタ.txt"), sjis::kOwnershipMaster);
    Start();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(fake->dialogs.empty());
    EXPECT_FALSE(Exists(QStringLiteral("設定.TXT")));
    EXPECT_EQ(ReadFile(QStringLiteral("設定.txt")), sjis::kSettingsOff);
}

TEST_F(StartupTest, TourSwitchIsWrittenAtOnceAndKeptOverARestart) {
    WriteMasters(false);
    Start();
    ASSERT_TRUE(loaded);
    fake->Answer();
    window->button("chkHelp")->click();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].text, QStringLiteral("ヘルプツアー機能をオンにします。"));
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ヘルプツアーＯＮ"));
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOn);

    fake->Answer();
    fake->Answer();
    Restart();  // the tour is on now: the two explanations
    EXPECT_TRUE(window->button("chkHelp")->isChecked());
    EXPECT_EQ(fake->dialogs.size(), 3u);

    fake->Answer();
    window->button("chkHelp")->click();
    EXPECT_EQ(fake->dialogs.back().text, QStringLiteral("ヘルプツアー機能をオフにします。"));
    EXPECT_EQ(fake->dialogs.back().title, QStringLiteral("ヘルプツアーＯＦＦ"));
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOff);
    Restart();
    EXPECT_FALSE(window->button("chkHelp")->isChecked());
    EXPECT_EQ(fake->dialogs.size(), 4u);
}

TEST_F(StartupTest, ButtonRowCarriesItsCaptions) {
    WriteMasters(false);
    Start();
    const std::pair<const char*, QString> row[] = {
        {"cmdNew", QStringLiteral("新規")},       {"cmdDel", QStringLiteral("削除")},
        {"cmdMain", QStringLiteral("メイン")},    {"cmdPic", QStringLiteral("画像")},
        {"cmdIchiran", QStringLiteral("主一覧")}, {"cmdIchiran2", QStringLiteral("評価")},
        {"cmdIchiran3", QStringLiteral("所有")},  {"cmdRank", QStringLiteral("ランク")},
        {"cmdList", QStringLiteral("鑑賞")},      {"cmdKensaku", QStringLiteral("検索")},
        {"cmdMaster", QStringLiteral("編集")},    {"cmdHelp", QStringLiteral("ヘルプ")},
        {"cmdEnd", QStringLiteral("終了")}};
    for (const auto& [name, caption] : row)
        EXPECT_EQ(Find<QPushButton>(name)->text(), caption) << name;
    EXPECT_EQ(Find<QPushButton>("chkHelp")->toolTip(),
              QStringLiteral("ヘルプツアーのＯｎ／Ｏｆｆです"));
    EXPECT_FALSE(Find<QPushButton>("chkHelp")->icon().isNull());
    const std::pair<const char*, QString> pages[] = {
        {"cmdHyouji1", QStringLiteral("メイン")},
        {"cmdHyouji2", QStringLiteral("キャスト")},
        {"cmdHyouji3", QStringLiteral("あらすじ")},
        {"cmdHyouji4", QStringLiteral("感想　・　メモ")}};
    for (const auto& [name, caption] : pages)
        EXPECT_EQ(Find<QPushButton>(name)->text(), caption) << name;

    Grid* g = Find<Grid>("msgKansyou");
    EXPECT_EQ(g->Rows(), 1);
    EXPECT_EQ(g->Cols(), 3);
    EXPECT_EQ(g->TextMatrix(0, 0), QStringLiteral("回"));
    EXPECT_EQ(g->TextMatrix(0, 1), QStringLiteral("鑑賞日"));
    EXPECT_EQ(g->ColWidth(0), 400);
    EXPECT_EQ(g->ColWidth(1), 1140);
    EXPECT_EQ(g->ColWidth(2), 0);
    Grid* list = Find<Grid>("msgHenList");
    EXPECT_EQ(list->Cols(), 4);
    EXPECT_EQ(list->TextMatrix(0, 3), QStringLiteral("鑑賞内容"));
    EXPECT_EQ(list->ColWidth(2), 3450);
}

TEST_F(StartupTest, ScreenButtonsSwitchAndRepeatNothingButTheMasterScreen) {
    WriteMasters(true);
    WriteFile(QStringLiteral("データ.TXT"), Titles(3));
    fake->Answer();
    fake->Answer();
    Start();
    const size_t before = fake->dialogs.size();
    fake->Answer();
    window->button("cmdRank")->click();
    EXPECT_EQ(VisibleScreens(), QStringList{"fraRank"});
    EXPECT_FALSE(window->button("cmdDel")->isEnabled());
    EXPECT_EQ(fake->dialogs.size(), before + 1);
    EXPECT_EQ(fake->dialogs.back().title, QStringLiteral("ヘルプツアー"));
    window->button("cmdRank")->click();  // already shown: nothing, not even the explanation
    EXPECT_EQ(fake->dialogs.size(), before + 1);

    fake->Answer();
    window->button("cmdMaster")->click();
    fake->Answer();
    window->button("cmdMaster")->click();  // refilled each time
    EXPECT_EQ(fake->dialogs.size(), before + 3);
    EXPECT_EQ(VisibleScreens(), QStringList{"fraMaster"});

    window->button("cmdMain")->click();  // no explanation on the way back
    EXPECT_EQ(fake->dialogs.size(), before + 3);
    EXPECT_EQ(VisibleScreens(), QStringList{"fraMain"});
    EXPECT_TRUE(window->button("cmdDel")->isEnabled());
}

TEST_F(StartupTest, MainButtonReturnsToThePickedTitleOrTheLastOne) {
    WriteMasters(false);
    WriteFile(QStringLiteral("データ.TXT"), Titles(8));
    Start();
    auto* bar = Find<QScrollBar>("hsbData");
    window->button("cmdMain")->click();  // main screen on show: nothing changes
    EXPECT_EQ(Shown(), QStringLiteral("T1"));

    window->JumpTitle = 5;  // as a double-click in a list leaves it
    bar->setValue(8);
    EXPECT_EQ(Shown(), QStringLiteral("T8"));
    window->button("cmdRank")->click();
    window->button("cmdMain")->click();
    EXPECT_EQ(Shown(), QStringLiteral("T5"));
    EXPECT_EQ(Counter(), QStringLiteral("5 / 8"));

    window->JumpTitle = 20;  // titles deleted since the pick
    window->button("cmdPic")->click();
    window->button("cmdMain")->click();
    EXPECT_EQ(VisibleScreens(), QStringList{"fraMain"});
    EXPECT_EQ(Shown(), QStringLiteral("T8"));
}

TEST_F(StartupTest, PageButtonsShowOnePageAndColourOneButton) {
    WriteMasters(false);
    Start();
    auto pageShown = [&](int k) {
        return Find<QFrame>(QStringLiteral("fraSubGamen_%1").arg(k))->isVisible();
    };
    auto coloured = [&](int k) {
        return Find<QPushButton>(QStringLiteral("cmdHyouji%1").arg(k))
            ->styleSheet()
            .contains("#ffe0c0");
    };
    EXPECT_TRUE(coloured(1));
    Find<QPushButton>("cmdHyouji3")->click();
    EXPECT_TRUE(pageShown(2));
    EXPECT_FALSE(pageShown(1));
    EXPECT_TRUE(coloured(3));
    EXPECT_FALSE(coloured(1));
    Find<QPushButton>("cmdHyouji1")->click();
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(pageShown(k));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(coloured(k), k == 1) << k;
    // The page choice survives a trip to another screen.
    Find<QPushButton>("cmdHyouji2")->click();
    window->button("cmdRank")->click();
    window->button("cmdMain")->click();
    EXPECT_TRUE(pageShown(1));
}

TEST_F(StartupTest, EndClosesTheHelpAndHelpOpensTheDocumentOfTheFolder) {
    WriteMasters(false);
    Start();
    window->button("cmdHelp")->click();
    ASSERT_EQ(fake->helpShown.size(), 1u);
    EXPECT_EQ(fake->helpShown[0], Path(QStringLiteral("HoshinoteHelp.html")));
    bool ended = false;
    QObject::connect(window.get(), &frmMain::endRequested, [&] { ended = true; });
    window->button("cmdEnd")->click();
    EXPECT_TRUE(ended);
    EXPECT_EQ(fake->helpClosed, 1);
    // Closing the window by its frame closes the help viewer too, so that the
    // program does not go on with only the viewer open.
    window->close();
    EXPECT_EQ(fake->helpClosed, 2);
}

TEST_F(StartupTest, MissingHelpDocumentIsSaidInTheViewer) {
    QtPlatform platform;
    platform.ShowHelp(Path(QStringLiteral("HoshinoteHelp.html")), nullptr);
    ASSERT_NE(platform.helpViewer(), nullptr);
    EXPECT_TRUE(platform.helpViewer()->toPlainText().contains(QStringLiteral("見つかりません")));
    WriteFile(QStringLiteral("HoshinoteHelp.html"), "<html><body><h1>Help page</h1></body></html>");
    platform.ShowHelp(Path(QStringLiteral("HoshinoteHelp.html")), nullptr);
    EXPECT_TRUE(platform.helpViewer()->toPlainText().contains("Help page"));
    platform.CloseHelp();
}

TEST_F(StartupTest, MalformedDataFileStopsTheStartWithoutWritingAnything) {
    const QByteArray bad =
        "\"T1\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n\"T2\",,,,,,,x,0,0,0,0,0,0,,,,\"\"\r\n";
    WriteFile(QStringLiteral("データ.TXT"), bad);
    fake->Answer();
    Start();
    EXPECT_FALSE(loaded);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[0].text.contains(QStringLiteral("データ.TXT")))
        << fake->dialogs[0].text.toStdString();
    EXPECT_TRUE(fake->dialogs[0].text.contains(QStringLiteral("2 行目")))
        << fake->dialogs[0].text.toStdString();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadFile(QStringLiteral("データ.TXT")), bad);
    EXPECT_FALSE(Exists(QStringLiteral("設定.TXT")));
    EXPECT_FALSE(Exists(QStringLiteral("評価マスタ.txt")));
}

TEST_F(StartupTest, MalformedHistoryStopsTheStart) {
    WriteMasters(false);
    const QByteArray bad = "\"2024/01/02\",\"T1\",\"DVD\"\r\n\"2024/01/03\",\"T1\r\n";
    WriteFile(QStringLiteral("鑑賞履歴.TXT"), bad);
    fake->Answer();
    Start();
    EXPECT_FALSE(loaded);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_TRUE(fake->dialogs[0].text.contains(QStringLiteral("鑑賞履歴.TXT")));
    EXPECT_EQ(ReadFile(QStringLiteral("鑑賞履歴.TXT")), bad);
}

TEST_F(StartupTest, FailedSaveShowsOneErrorAndKeepsTheOldFile) {
    WriteMasters(false);
    Start();
    fake->Answer();  // the switch's own box
    fake->Answer();  // the error
    {
        FileSizeLimit limit(4);
        window->button("chkHelp")->click();
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(QStringLiteral("設定.TXT")))
        << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOff);
}

// The tour button shows what the settings file holds: a failed save puts it
// back; a save written but not yet safe keeps it.
TEST_F(StartupTest, AFailedTourSwitchSavePutsTheButtonBack) {
    WriteMasters(false);
    Start();
    fake->Answer();  // the switch's own box
    fake->Answer();  // the error
    {
        FileSizeLimit limit(4);
        window->button("chkHelp")->click();
    }
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_FALSE(window->button("chkHelp")->isChecked());
    EXPECT_EQ(window->masters.intHelpTour, 0);
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOff);

    fake->Answer();
    fake->Answer();
    {
        testsupport::FaultInjection faults({.folderSyncError = EIO});
        window->button("chkHelp")->click();
    }
    ASSERT_EQ(fake->dialogs.size(), 4u);
    EXPECT_EQ(fake->dialogs[3].title, QStringLiteral("ファイルの警告"));
    EXPECT_TRUE(window->button("chkHelp")->isChecked());
    EXPECT_EQ(window->masters.intHelpTour, 1);
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOn);
}

}  // namespace
