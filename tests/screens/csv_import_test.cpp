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

}  // namespace
