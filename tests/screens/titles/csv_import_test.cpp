#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "tests/support/fault_injection.h"
#include "tests/support/window_fixture.h"

namespace {

const QString kData = QStringLiteral("データ.TXT");
const QString kHistory = QStringLiteral("鑑賞履歴.TXT");
const QByteArray kOldHistory = "\"2024/01/01\",\"T1\",\"DVD\"\r\n\"2024/03/01\",\"T1\",\"DVD\"\r\n";
const QByteArray kDiary =
    "Date,Name,Year,Letterboxd URI,Rating,Rewatch,Tags,Watched Date\n"
    "2024-02-03,Paris,1984,https://boxd.it/a,4,,,2024-02-01\n"
    "2024-02-04,Paris,1984,https://boxd.it/a,4.5,Yes,,2024-02-02\n"
    "2024-02-05,,1999,https://boxd.it/b,3,,,2024-02-03\n";

class CsvImportScreenTest : public WindowTest {
protected:
    void StartWithDiary() {
        WriteMasters(false);
        WriteFile(kData, sjis::Titles(1));
        WriteFile(kHistory, kOldHistory);
        Start();
        ASSERT_TRUE(loaded);
        WriteFile("diary.csv", kDiary);
        window->button("cmdMaster")->click();
        fake->OpenAs(Path("diary.csv"));
    }
    template <class T>
    static T* In(QDialog& d, const char* name) {
        T* found = d.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(CsvImportScreenTest, ADiaryThroughTheDialog) {
    StartWithDiary();
    int shown = 0;
    fake->onExecDialog = [&](QDialog& d) {
        ++shown;
        EXPECT_EQ(d.objectName(), "frmCsvImport");
        EXPECT_EQ(d.windowModality(), Qt::WindowModal);
        EXPECT_EQ(In<QComboBox>(d, "cboMap_0")->currentText(), "Name");
        EXPECT_EQ(In<QComboBox>(d, "cboMap_3")->currentText(), "Year");
        EXPECT_EQ(In<QComboBox>(d, "cboMap_1")->currentText(), QStringLiteral("（なし）"));
        EXPECT_EQ(In<QComboBox>(d, "cboMap_17")->count(), 9);
        EXPECT_EQ(In<QComboBox>(d, "cboMapDate")->currentText(), "Watched Date");
        EXPECT_EQ(In<QComboBox>(d, "cboMapKind")->currentText(), QStringLiteral("（なし）"));
        EXPECT_EQ(In<QPushButton>(d, "cmdImportOk")->text(), QStringLiteral("取り込む"));
        EXPECT_EQ(In<QPushButton>(d, "cmdImportCancel")->text(), QStringLiteral("キャンセル"));
        auto* kind = In<QLineEdit>(d, "txtImportKind");
        EXPECT_EQ(kind->text(), QStringLiteral("その他"));
        // One title to add, its rewatch and the empty title passed over.
        const QAbstractItemModel* preview = In<QTableView>(d, "grdImportPreview")->model();
        ASSERT_EQ(preview->rowCount(), 3);
        EXPECT_EQ(preview->index(0, 2).data().toString(), "Paris");
        EXPECT_EQ(preview->index(0, 5).data().toString(), "1984/01");
        EXPECT_EQ(preview->index(2, 0).data().toInt(), 4);
        EXPECT_EQ(preview->index(2, 1).data().toString(), QStringLiteral("しない：タイトルが空"));
        EXPECT_EQ(In<QLabel>(d, "lblImportCount")->text(),
                  QStringLiteral("追加するタイトル：1 件　取り込まない行：2 件（タイトルが空 1、"
                                 "ファイル内で重複するタイトル 1）　追加する鑑賞記録：2 件"));
        // An empty default content is refused and the dialog stays.
        kind->clear();
        fake->Answer();
        In<QPushButton>(d, "cmdImportOk")->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(fake->dialogs.back().text, QStringLiteral("鑑賞内容の既定値を入力してください"));
        kind->setText(QStringLiteral("映画館"));
        fake->Answer();  // the closing information
        In<QPushButton>(d, "cmdImportOk")->click();
    };
    Find<QPushButton>("cmdCsvIn")->click();
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(fake->openDialogs.size(), 1u);
    EXPECT_EQ(fake->openDialogs[0].filter, QStringLiteral("CSV・テキスト ファイル (*.csv *.txt)"));
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(fake->dialogs[1].title, QStringLiteral("CSV取り込み"));
    EXPECT_EQ(fake->dialogs[1].icon, Platform::Icon::Information);
    EXPECT_EQ(fake->dialogs[1].text,
              QStringLiteral("取り込みが終わりました。\r\n\r\n追加したタイトル：1 件\r\n"
                             "追加した鑑賞記録：2 件\r\n取り込まなかった行：2 件\r\n\r\n"
                             "取り込む前のデータは作業フォルダの「バックアップ_20261208_103000」"
                             "フォルダにバックアップしました。"));
    EXPECT_EQ(window->catalogue.TitleCount, 2);
    EXPECT_EQ(window->history.HistoryCount, 4);
    // 映画館 in CP932.
    EXPECT_EQ(ReadFile(kHistory),
              "\"2024/01/01\",\"T1\",\"DVD\"\r\n"
              "\"2024/02/01\",\"Paris\",\"\x89\x66\x89\xe6\x8a\xd9\"\r\n"
              "\"2024/02/02\",\"Paris\",\"\x89\x66\x89\xe6\x8a\xd9\"\r\n"
              "\"2024/03/01\",\"T1\",\"DVD\"\r\n");
    EXPECT_EQ(ReadFile(QStringLiteral("バックアップ_20261208_103000/鑑賞履歴.TXT")), kOldHistory);
}

TEST_F(CsvImportScreenTest, AFailedHistoryWriteLeavesBothFilesAsTheyWere) {
    StartWithDiary();
    fake->onExecDialog = [&](QDialog& d) {
        fake->Answer();
        In<QPushButton>(d, "cmdImportOk")->click();
    };
    {
        // The two files are written and synced before either replaces its
        // file: a sync that fails stops both.
        testsupport::FaultInjection failing({.fileSyncError = EIO});
        Find<QPushButton>("cmdCsvIn")->click();
    }
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_EQ(fake->dialogs[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_TRUE(fake->dialogs[0].text.endsWith(QStringLiteral("。何も取り込んでいません")))
        << fake->dialogs[0].text.toStdString();
    // Neither file was replaced: the data file's bytes are the first ones,
    // not the full form a save writes.
    EXPECT_TRUE(Exists(QStringLiteral("バックアップ_20261208_103000/データ.TXT")));
    EXPECT_EQ(ReadFile(kData), sjis::Titles(1));
    EXPECT_EQ(ReadFile(kHistory), kOldHistory);
    EXPECT_EQ(window->catalogue.TitleCount, 1);
}

// The main screen's counter follows the titles added, before the user moves.
TEST_F(CsvImportScreenTest, TheMainScreensCounterCountsTheAddedTitles) {
    StartWithDiary();
    ASSERT_EQ(Find<QLabel>("lblKensu")->text(), "1 / 1");
    fake->onExecDialog = [&](QDialog& d) {
        fake->Answer();  // the closing information
        In<QPushButton>(d, "cmdImportOk")->click();
    };
    Find<QPushButton>("cmdCsvIn")->click();
    ASSERT_EQ(window->catalogue.TitleCount, 2);
    EXPECT_EQ(Find<QLabel>("lblKensu")->text(), "1 / 2");
}

// Tellico's export: the cast, the synopsis and the comments of a new title
// become its side files; a title already there gets none, and a side file
// already there stays. A failed data-file write takes the new files back.
TEST_F(CsvImportScreenTest, SideFilesOfNewTitlesAndTheirRemovalOnFailure) {
    WriteMasters(false);
    WriteFile(kData, sjis::Titles(1));
    Start();
    ASSERT_TRUE(loaded);
    window->button("cmdMaster")->click();
    WriteFile("tellico.csv",
              "Title,Cast,Plot Summary,Comments\n"
              "T1,A:B,x,y\n"
              "七人の侍,三船敏郎:菊千代|志村喬:島田勘兵衛,\"野武士と\n村\",名作\n");
    fake->OpenAs(Path("tellico.csv"));
    const QString memo = QStringLiteral("メモ_七人の侍.txt");
    WriteFile(memo, "old\r\n");
    const QStringList written = {QStringLiteral("キャスト_七人の侍.txt"),
                                 QStringLiteral("あらすじ_七人の侍.txt")};
    fake->onExecDialog = [&](QDialog& d) {
        EXPECT_EQ(In<QComboBox>(d, "cboMapCast")->currentText(), "Cast");
        EXPECT_EQ(In<QComboBox>(d, "cboMapPlot")->currentText(), "Plot Summary");
        EXPECT_EQ(In<QComboBox>(d, "cboMapMemo")->currentText(), "Comments");
        fake->Answer();
        In<QPushButton>(d, "cmdImportOk")->click();
    };
    int syncs = 0;
    {
        // The data file's write fails at its sync, with the side files there.
        testsupport::FaultInjection faults({.fileSyncError = EIO, .atFileSync = [&] {
                                                if (syncs++ == 0) {
                                                    for (const QString& name : written)
                                                        EXPECT_TRUE(Exists(name));
                                                }
                                            }});
        Find<QPushButton>("cmdCsvIn")->click();
    }
    EXPECT_GT(syncs, 0);
    ASSERT_EQ(fake->dialogs.size(), 1u);
    EXPECT_TRUE(fake->dialogs[0].text.startsWith(QStringLiteral("ファイル「データ.TXT」")))
        << fake->dialogs[0].text.toStdString();
    for (const QString& name : written) EXPECT_FALSE(Exists(name)) << name.toStdString();
    EXPECT_EQ(ReadFile(memo), "old\r\n");
    EXPECT_EQ(ReadFile(kData), sjis::Titles(1));
    EXPECT_FALSE(Exists(QStringLiteral("キャスト_T1.txt")));

    fake->OpenAs(Path("tellico.csv"));
    Find<QPushButton>("cmdCsvIn")->click();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_TRUE(fake->dialogs[1].text.contains(
        QStringLiteral("\r\nファイルが既にあるため書かなかったキャスト・あらすじ・メモ：1 件\r\n")))
        << fake->dialogs[1].text.toStdString();
    // 三船敏郎（菊千代） / 志村喬（島田勘兵衛）, 野武士と / 村.
    EXPECT_EQ(ReadFile(written[0]),
              "\x8e\x4f\x91\x44\x95\x71\x98\x59\x81\x69\x8b\x65\x90\xe7\x91\xe3\x81\x6a\r\n"
              "\x8e\x75\x91\xba\x8b\xaa\x81\x69\x93\x87\x93\x63\x8a\xa8\x95\xba\x89\x71\x81\x6a"
              "\r\n");
    EXPECT_EQ(ReadFile(written[1]), "\x96\xec\x95\x90\x8e\x6d\x82\xc6\r\n\x91\xba\r\n");
    EXPECT_EQ(ReadFile(memo), "old\r\n");
    EXPECT_FALSE(Exists(QStringLiteral("キャスト_T1.txt")));
}

}  // namespace
