#include "logic/new_start.h"

#include <gtest/gtest.h>

#include <QDir>

#include "tests/support/folder_helpers.h"

namespace {

using testsupport::TempFolder;

const QString kData = QStringLiteral("データ.TXT");
const QString kHistory = QStringLiteral("鑑賞履歴.TXT");

// CP932: 評価マスタ, メモ_T1.
const QByteArray kEvaluationMasterName = "\x95\x5d\x89\xbf\x83\x7d\x83\x58\x83\x5e";
const QByteArray kMemoOfT1 = "\x83\x81\x83\x82\x5f\x54\x31";

QByteArray Record(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}

class NewStartTest : public ::testing::Test {
protected:
    void Load(const QByteArray& data) {
        f.write(kData, data);
        ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    store::Catalogue catalogue;
};

TEST_F(NewStartTest, EmptiesBothFilesAndDeletesEveryTitleFileAndSideText) {
    Load(Record("T1") + Record("T2"));
    f.write(kHistory, "\"2026/01/02\",\"T1\",\"x\"\r\n");
    const QStringList gone = {"T1.txt",      "T1.jpg",      "T2.bmp",          "T2.gif",
                              "T2.TXT",      "T2.JPG",      "キャスト_T1.txt", "あらすじ_T2.txt",
                              "メモ_T1.txt", "メモ_Old.txt"};
    for (const QString& name : gone) f.write(name, "x");
    const QStringList kept = {"評価マスタ.txt", "所有マスタ.txt", "設定.TXT",
                              "T3.jpg",         "メモ_T1.doc",    "readme.txt"};
    for (const QString& name : kept) f.write(name, "kept");

    const logic::ClearResult r = logic::ClearForNewStart(catalogue, folder);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_TRUE(r.dataEmptied);
    EXPECT_TRUE(f.exists(kData));
    EXPECT_TRUE(f.read(kData).isEmpty());
    EXPECT_TRUE(f.exists(kHistory));
    EXPECT_TRUE(f.read(kHistory).isEmpty());
    for (const QString& name : gone) EXPECT_FALSE(f.exists(name)) << name.toStdString();
    for (const QString& name : kept) EXPECT_EQ(f.read(name), "kept") << name.toStdString();
}

TEST_F(NewStartTest, MissingFilesAreCreatedEmptyAndAnEmptyCatalogueStillClearsTheTexts) {
    Load({});
    f.write("キャスト_Gone.txt", "x");
    ASSERT_TRUE(logic::ClearForNewStart(catalogue, folder).status.isOk());
    EXPECT_TRUE(f.exists(kHistory));
    EXPECT_TRUE(f.read(kHistory).isEmpty());
    EXPECT_FALSE(f.exists("キャスト_Gone.txt"));
}

// A title's name + ".txt" that spells a file of the program, and a name that
// leads out of the folder, leave those files alone.
TEST_F(NewStartTest, FilesThatAreNotTheTitlesOwnStay) {
    TempFolder outside;
    const QString escape = "../" + QDir(outside.path()).dirName() + "/victim";
    outside.write("victim.jpg", "outside");
    outside.write("victim.txt", "outside");
    Load(Record(kEvaluationMasterName) + Record(kMemoOfT1) + Record(escape.toUtf8()));
    f.write("評価マスタ.txt", "\"x\"\r\n");
    f.write("評価マスタ.jpg", "x");
    f.write("メモ_T1.jpg", "x");
    f.write("メモ_T1.txt", "memo");

    ASSERT_TRUE(logic::ClearTitles(catalogue, folder).status.isOk());
    EXPECT_EQ(f.read("評価マスタ.txt"), "\"x\"\r\n");
    EXPECT_FALSE(f.exists("評価マスタ.jpg"));
    EXPECT_FALSE(f.exists("メモ_T1.jpg"));
    EXPECT_EQ(f.read("メモ_T1.txt"), "memo");  // the narrower clearing keeps side texts
    EXPECT_EQ(outside.read("victim.jpg"), "outside");
    EXPECT_EQ(outside.read("victim.txt"), "outside");
}

TEST_F(NewStartTest, TheNarrowerClearingKeepsTheHistoryAndMakesNoOtherFile) {
    Load(Record("T1"));
    f.write(kHistory, "\"2026/01/02\",\"T1\",\"x\"\r\n");
    f.write("T1.gif", "x");
    f.write("あらすじ_T1.txt", "x");
    const QStringList before = f.entries();

    ASSERT_TRUE(logic::ClearTitles(catalogue, folder).status.isOk());
    EXPECT_TRUE(f.read(kData).isEmpty());
    EXPECT_EQ(f.read(kHistory), "\"2026/01/02\",\"T1\",\"x\"\r\n");
    QStringList expected = before;
    expected.removeAll("T1.gif");
    EXPECT_EQ(f.entries(), expected);
}

// A file that cannot be emptied stops the clearing before anything is deleted.
TEST_F(NewStartTest, AFileThatCannotBeEmptiedStopsEverythingAfterIt) {
    Load(Record("T1"));
    f.write("T1.jpg", "x");
    f.write("メモ_T1.txt", "x");
    // A folder in the history's place cannot be replaced by a file.
    ASSERT_TRUE(QDir(f.path()).mkpath(kHistory + "/inside"));

    const logic::ClearResult r = logic::ClearForNewStart(catalogue, folder);
    ASSERT_FALSE(r.status.isOk());
    EXPECT_EQ(r.status.error().file, kHistory);
    EXPECT_FALSE(r.status.error().reason.isEmpty());
    EXPECT_TRUE(r.dataEmptied);
    EXPECT_TRUE(f.read(kData).isEmpty());
    EXPECT_TRUE(f.exists("T1.jpg"));
    EXPECT_TRUE(f.exists("メモ_T1.txt"));

    // The data file first: nothing at all changes when it fails.
    TempFolder g;
    store::WorkingFolder other(g.path());
    ASSERT_TRUE(QDir(g.path()).mkpath(kData + "/inside"));
    g.write(kHistory, "h");
    const logic::ClearResult first = logic::ClearForNewStart(catalogue, other);
    ASSERT_FALSE(first.status.isOk());
    EXPECT_FALSE(first.dataEmptied);
    EXPECT_EQ(g.read(kHistory), "h");
}

}  // namespace
