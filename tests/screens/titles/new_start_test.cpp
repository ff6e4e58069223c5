#include <sys/stat.h>

#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>

#include "tests/support/window_fixture.h"

namespace {

const QString kData = QStringLiteral("データ.TXT");
const QString kHistory = QStringLiteral("鑑賞履歴.TXT");
const QByteArray kViewing = "\"2026/01/02\",\"T1\",\"x\"\r\n";

// Lets a test look at the window whenever the work lets events run.
class WatchingPlatform : public FakePlatform {
public:
    void ProcessPendingEvents() override {
        if (onEvents) onEvents();
    }
    std::function<void()> onEvents;
};

class NewStartTest : public WindowTest {
protected:
    // Two titles, each with a picture and the three side texts, a viewing, and
    // a memo left behind by a deleted title.
    void StartFull() {
        WriteMasters(false);
        WriteFile(kData, sjis::Titles(2));
        WriteFile(kHistory, kViewing);
        for (const QString& t : {QStringLiteral("T1"), QStringLiteral("T2")}) {
            WriteFile(t + ".jpg", "x");
            for (const char* prefix : {"キャスト_", "あらすじ_", "メモ_"})
                WriteFile(QString::fromUtf8(prefix) + t + ".txt", "x\r\n");
        }
        WriteFile(QStringLiteral("メモ_Gone.txt"), "x\r\n");
        Start();
        ASSERT_TRUE(loaded);
        QObject::connect(window.get(), &frmMain::endRequested, window.get(), [this] { ++ended; });
        window->button("cmdMaster")->click();
    }
    QStringList Entries() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files);
        names.sort();
        return names;
    }
    void ExpectQuestion(const FakePlatform::Dialog& d, const QString& text) const {
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.title, QStringLiteral("タイトル全データ削除確認"));
        EXPECT_EQ(d.icon, Platform::Icon::Question);
        EXPECT_EQ(d.buttons, Platform::Buttons::YesNo);
        EXPECT_EQ(d.defaultButton, Platform::Answer::No);
    }
    void ExpectTold(const FakePlatform::Dialog& d, const QString& text) const {
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.title, QStringLiteral("データ削除"));
        EXPECT_EQ(d.icon, Platform::Icon::Information);
    }

    // n titles, each with a picture and the three side texts; their bytes.
    QHash<QString, QByteArray> WriteTitles(int n) const {
        QHash<QString, QByteArray> files;
        files.insert(kData, sjis::Titles(n));
        for (int i = 1; i <= n; ++i) {
            const QString t = QStringLiteral("T%1").arg(i);
            files.insert(t + ".jpg", "jpg " + t.toUtf8());
            for (const char* prefix : {"キャスト_", "あらすじ_", "メモ_"})
                files.insert(QString::fromUtf8(prefix) + t + ".txt", "text " + t.toUtf8());
        }
        for (auto it = files.cbegin(); it != files.cend(); ++it) WriteFile(it.key(), it.value());
        return files;
    }
    // The work looks at the clock once a file: a catalogue of many files
    // takes long enough for the progress window.
    WatchingPlatform& Watching() {
        auto watching = std::make_unique<WatchingPlatform>();
        WatchingPlatform& w = *watching;
        fake = std::move(watching);
        return w;
    }
    QProgressDialog* Progress() const { return window->findChild<QProgressDialog*>("frmProgress"); }

    int ended = 0;
};

TEST_F(NewStartTest, NoAtTheQuestionChangesNothing) {
    StartFull();
    const QStringList before = Entries();
    fake->Answer(Platform::Answer::No);
    Find<QPushButton>("cmdSinki")->click();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    ExpectQuestion(
        fake->dialogs[0],
        QStringLiteral("現在登録されているデータを全てクリアして新規スタートしますか？"));
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(ReadFile(kData), sjis::Titles(2));
    EXPECT_EQ(ended, 0);
}

TEST_F(NewStartTest, ClearsEverythingButTheMastersAndEndsTheProgram) {
    StartFull();
    fake->Answer(Platform::Answer::Yes);
    fake->Answer();
    fake->Answer();
    int depthSeen = 0;
    fake->onDialog = [&](const FakePlatform::Dialog&) { depthSeen += fake->waitPointerDepth; };
    Find<QPushButton>("cmdSinki")->click();
    ASSERT_EQ(fake->dialogs.size(), 3u);
    ExpectTold(
        fake->dialogs[1],
        QStringLiteral("データを削除しました。評価項目と所有項目は必要に応じて変更してください。"
                       "\r\n\r\n削除前のデータは作業フォルダの「バックアップ_20261208_103000」"
                       "フォルダにバックアップしました。"));
    EXPECT_EQ(
        QDir(Path(QStringLiteral("バックアップ_20261208_103000"))).entryList(QDir::Files).size(),
        14);
    ExpectTold(fake->dialogs[2],
               QStringLiteral("一旦プログラムを終了しますので再起動してください。"));
    EXPECT_EQ(depthSeen, 0);  // no box under the wait pointer
    EXPECT_EQ(fake->waitPointerDepth, 0);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(fake->helpClosed, 1);

    QStringList left = {kData, QStringLiteral("所有マスタ.txt"), QStringLiteral("評価マスタ.txt"),
                        QStringLiteral("設定.TXT"), kHistory};
    left.sort();
    EXPECT_EQ(Entries(), left);
    EXPECT_TRUE(ReadFile(kData).isEmpty());
    EXPECT_TRUE(ReadFile(kHistory).isEmpty());
    EXPECT_EQ(ReadFile(QStringLiteral("評価マスタ.txt")), sjis::kEvaluationMaster);
    EXPECT_EQ(ReadFile(QStringLiteral("所有マスタ.txt")), sjis::kOwnershipMaster);
    EXPECT_EQ(ReadFile(QStringLiteral("設定.TXT")), sjis::kSettingsOff);

    Restart();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->catalogue.TitleCount, 0);
    EXPECT_EQ(window->history.HistoryCount, 0);
    EXPECT_EQ(Find<QLabel>("lblHyouka1_2")->text(), QStringLiteral("感動・涙"));
}

TEST_F(NewStartTest, AFileThatCannotBeEmptiedIsReportedAndTheProgramGoesOn) {
    StartFull();
    // A folder in the history's place cannot be replaced by a file.
    QFile::remove(Path(kHistory));
    ASSERT_TRUE(QDir(dir.path()).mkpath(kHistory + "/inside"));
    fake->Answer(Platform::Answer::Yes);
    fake->Answer();  // the error box
    Find<QPushButton>("cmdSinki")->click();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(kHistory)) << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(fake->waitPointerDepth, 0);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(Exists(QStringLiteral("T1.jpg")));
    EXPECT_TRUE(Exists(QStringLiteral("メモ_T2.txt")));
    // The data file was emptied already: what is shown follows it.
    EXPECT_TRUE(ReadFile(kData).isEmpty());
    EXPECT_EQ(window->catalogue.TitleCount, 0);
}

// A safety copy that cannot be made: the error box says why, and nothing is
// cleared.
TEST_F(NewStartTest, AFailedBackupClearsNothing) {
    StartFull();
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("メモ_T2.txt"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("メモ_T2.txt"))).constData(), 0644),
              0);
    const QStringList before = Entries();
    fake->Answer(Platform::Answer::Yes);
    fake->Answer();  // the error box
    Find<QPushButton>("cmdSinki")->click();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Critical);
    EXPECT_TRUE(fake->dialogs[1].text.contains(QStringLiteral("メモ_T2.txt")));
    EXPECT_TRUE(fake->dialogs[1].text.endsWith(
        QStringLiteral("バックアップを作れないため、データは削除していません")))
        << fake->dialogs[1].text.toStdString();
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(fake->waitPointerDepth, 0);
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(ReadFile(kData), sjis::Titles(2));
    EXPECT_EQ(ReadFile(kHistory), kViewing);
    EXPECT_EQ(window->catalogue.TitleCount, 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(NewStartTest, TheHiddenClearingEmptiesOnlyTheTitles) {
    StartFull();
    auto* cmdAllDel = Find<QPushButton>("cmdAllDel");
    EXPECT_EQ(cmdAllDel->size(), QSize(0, 0));
    EXPECT_EQ(cmdAllDel->focusPolicy(), Qt::NoFocus);
    const QStringList before = Entries();
    fake->Answer(Platform::Answer::Yes);
    fake->Answer();
    cmdAllDel->click();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    ExpectQuestion(fake->dialogs[0],
                   QStringLiteral("現在登録されているデータを全てクリアしますか？"));
    ExpectTold(fake->dialogs[1],
               QStringLiteral("削除前のデータは作業フォルダの「バックアップ_20261208_103000」"
                              "フォルダにバックアップしました。\r\n\r\n"
                              "一旦プログラムを終了しますので再起動してください。"));
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(ReadFile(kData).isEmpty());
    EXPECT_EQ(ReadFile(kHistory), kViewing);
    QStringList expected = before;
    expected.removeAll(QStringLiteral("T1.jpg"));
    expected.removeAll(QStringLiteral("T2.jpg"));
    EXPECT_EQ(Entries(), expected);  // side texts kept, nothing new
}

TEST_F(NewStartTest, CancellingTheBackupKeepsEveryFileAndLeavesNoBackup) {
    WatchingPlatform& p = Watching();
    WriteMasters(false);
    WriteFile(kHistory, kViewing);
    WriteTitles(200);
    Start();
    ASSERT_TRUE(loaded);
    QObject::connect(window.get(), &frmMain::endRequested, window.get(), [this] { ++ended; });
    window->button("cmdMaster")->click();
    QHash<QString, QByteArray> before;
    for (const QString& name : Entries()) before.insert(name, ReadFile(name));
    p.tick = 1;
    int turns = 0;
    p.onEvents = [&] {
        ++turns;
        // Part of the backup made already (in a hidden temporary folder).
        ASSERT_EQ(
            QDir(dir.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
        Find<QPushButton>("cmdProgressCancel")->click();
    };
    p.Answer(Platform::Answer::Yes);
    p.Answer();
    Find<QPushButton>("cmdSinki")->click();
    EXPECT_EQ(turns, 1);
    ASSERT_EQ(p.dialogs.size(), 2u);
    ExpectTold(p.dialogs[1],
               QStringLiteral("バックアップを中止しました。データは削除していません。"));
    EXPECT_EQ(Progress(), nullptr);
    EXPECT_EQ(p.waitPointerDepth, 0);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(window->catalogue.TitleCount, 200);
    EXPECT_TRUE(
        QDir(dir.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QStringList names = before.keys();
    names.sort();
    EXPECT_EQ(Entries(), names);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(ReadFile(it.key()), it.value()) << it.key().toStdString();
}

// Two titles go by before the window could paint; two hundred show the two
// stages, the first with its count and a way to cancel, the second without.
TEST_F(NewStartTest, TheProgressWindowComesOnlyForALongNewStart) {
    WatchingPlatform& p = Watching();
    StartFull();
    p.tick = 1;
    int turns = 0;
    p.onEvents = [&] { ++turns; };
    p.Answer(Platform::Answer::Yes);
    p.Answer();
    p.Answer();
    Find<QPushButton>("cmdSinki")->click();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(turns, 0);
    EXPECT_EQ(Progress(), nullptr);

    WriteTitles(200);
    p.tick = 0;
    Restart();
    ASSERT_TRUE(loaded);
    window->button("cmdMaster")->click();
    p.tick = 1;
    QStringList seen;
    p.onEvents = [&] {
        QProgressDialog* d = Progress();
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->windowModality(), Qt::WindowModal);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("データ削除"));
        auto* cancel = d->findChild<QPushButton*>("cmdProgressCancel");
        const QString stage = d->labelText().section(u'\n', 0, 0);
        if (seen.isEmpty() || seen.last() != stage) seen << stage;
        if (stage.startsWith(QStringLiteral("バックアップ"))) {
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
            EXPECT_EQ(d->labelText().section(u'\n', 1),
                      QStringLiteral("%1 / 805 ファイル").arg(d->value()));
        } else {
            EXPECT_TRUE(cancel == nullptr || !cancel->isVisible());
        }
    };
    p.Answer(Platform::Answer::Yes);
    p.Answer();
    p.Answer();
    Find<QPushButton>("cmdSinki")->click();
    EXPECT_EQ(seen, QStringList({QStringLiteral("バックアップを作成しています…"),
                                 QStringLiteral("データを削除しています…")}));
    EXPECT_EQ(Progress(), nullptr);  // gone before the boxes
    EXPECT_EQ(p.waitPointerDepth, 0);
}

}  // namespace
