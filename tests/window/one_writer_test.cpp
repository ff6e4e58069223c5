// Two windows on one catalogue, and a catalogue changed by another program.
#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>

#include "screens/screens.h"
#include "tests/support/fault_injection.h"
#include "tests/support/window_fixture.h"

namespace {

const QString kData = QStringLiteral("データ.TXT");

// A title as the program writes it back, with its director.
QByteArray Written(const QByteArray& name, const QByteArray& director = "") {
    return "\"" + name + "\",\"" + director +
           "\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

class OneWriterTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        WriteMasters();
        WriteFile(kData, sjis::Titles(3));
        Start();
        ASSERT_TRUE(loaded);
    }
    QString ShownTitle() const { return Find<QComboBox>("cboName")->currentText(); }
    // What a field edit of the main screen does: the value, saved at once.
    static bool EditDirector(frmMain& w, int i, const QString& director) {
        w.catalogue.strKantoku[static_cast<size_t>(i)] = director;
        return w.Report(w.catalogue.SaveTitleData(w.folder));
    }
};

}  // namespace

TEST_F(OneWriterTest, TwoWindowsOnOneFolderKeepBothChanges) {
    frmMain b(*fake, dir.path());
    AttachScreens(b);
    ASSERT_TRUE(b.Form_Load());
    // A adds a title; B, loaded before, edits a field.
    ASSERT_TRUE(window->catalogue.AppendTitle(window->folder, "NEW").isOk());
    ASSERT_TRUE(window->TitlesRestructured());
    fake->Answer();
    ASSERT_TRUE(EditDirector(b, 1, "X"));
    QCoreApplication::processEvents();

    EXPECT_EQ(ReadFile(kData), Written("T1", "X") + Written("T2") + Written("T3") + Written("NEW"));
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("外部の変更"));
    EXPECT_EQ(fake->dialogs[0].text,
              QStringLiteral("「データ.TXT」がほかのプログラムで変更されていたため、"
                             "その変更を読み込んでから保存しました。"));
    EXPECT_EQ(b.catalogue.TitleCount, 4);  // B follows the file
}

TEST_F(OneWriterTest, AnOutsideChangeWhileIdleIsFollowedOnTheSameTitle) {
    Find<QScrollBar>("hsbData")->setValue(2);
    WriteFile(kData, sjis::Title("T0") + sjis::Title("T1") +
                         "\"T2\",\"Z\",,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n" + sjis::Title("T3"));
    window->reloadChangedFiles();
    EXPECT_EQ(Find<QScrollBar>("hsbData")->value(), 3);
    EXPECT_EQ(ShownTitle(), QStringLiteral("T2"));
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QStringLiteral("Z"));
    // The title on show is gone: title 1.
    WriteFile(kData, sjis::Title("T0") + sjis::Title("T3"));
    window->reloadChangedFiles();
    EXPECT_EQ(Find<QScrollBar>("hsbData")->value(), 1);
    EXPECT_EQ(ShownTitle(), QStringLiteral("T0"));
    // Its own writes are no change.
    ASSERT_TRUE(EditDirector(*window, 1, "Y"));
    window->reloadChangedFiles();
    EXPECT_TRUE(fake->dialogs.empty());
}

TEST_F(OneWriterTest, ADamagedFileAtSaveTimeIsNotWrittenAndTheBoxNamesTheLine) {
    const QByteArray damaged = sjis::Title("T1") + "\"T2,\r\n";
    WriteFile(kData, damaged);
    fake->Answer();
    EXPECT_FALSE(EditDirector(*window, 1, "X"));
    EXPECT_EQ(ReadFile(kData), damaged);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_TRUE(
        fake->dialogs[0].text.startsWith(QStringLiteral("ファイル「データ.TXT」の 2 行目：")))
        << fake->dialogs[0].text.toStdString();
}

TEST_F(OneWriterTest, AReorderWrittenButNotReadBackIsToldAsWritten) {
    std::vector<int> order = {3, 2, 1};
    const store::Status written = window->catalogue.SaveTitleDataInOrder(window->folder, order);
    fake->Answer();
    {
        testsupport::FaultInjection unreadable({.readOpenError = EIO});
        EXPECT_FALSE(window->TitlesReordered(written));
    }
    EXPECT_EQ(ReadFile(kData), Written("T3") + Written("T2") + Written("T1"));
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルの警告"));
    EXPECT_TRUE(fake->dialogs[0].text.startsWith(
        QStringLiteral("変更はファイルに書き込みましたが、読み直せないため画面には表示できません。"
                       "プログラムを起動し直してください。")));
}
