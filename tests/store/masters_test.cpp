#include "store/masters.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

using store::Masters;
using store::WorkingFolder;
using testsupport::Hex;
using testsupport::TempFolder;

namespace {

const QByteArray kTourOn = Hex("22 83 77 83 8B 83 76 83 63 83 41 81 5B 22 2C 31 0D 0A");
const QByteArray kTourOff = Hex("22 83 77 83 8B 83 76 83 63 83 41 81 5B 22 2C 30 0D 0A");

TEST(Settings, ZeroTurnsTheTourOffAndOneOn) {
    TempFolder t;
    WorkingFolder f(t.path());
    Masters m;
    t.write(QStringLiteral("設定.TXT"), kTourOff);
    ASSERT_TRUE(store::LoadSettings(f, m).isOk());
    EXPECT_EQ(m.intHelpTour, 0);
    t.write(QStringLiteral("設定.TXT"), kTourOn);
    ASSERT_TRUE(store::LoadSettings(f, m).isOk());
    EXPECT_EQ(m.intHelpTour, 1);
}

TEST(Settings, ReadAsTxtWrittenAsTXTIsOneFile) {
    TempFolder t;
    t.write(QStringLiteral("設定.txt"), kTourOff);
    WorkingFolder f(t.path());
    Masters m;
    ASSERT_TRUE(store::LoadSettings(f, m).isOk());
    EXPECT_EQ(m.intHelpTour, 0);
    ASSERT_TRUE(store::SaveSettings(f, 1).isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("設定.txt")});
    EXPECT_EQ(t.read(QStringLiteral("設定.txt")), kTourOn);
    ASSERT_TRUE(store::LoadSettings(f, m).isOk());
    EXPECT_EQ(m.intHelpTour, 1);
}

// Missing files are created with defaults.
TEST(Settings, MissingFileIsCreatedWithTheTourOn) {
    TempFolder t;
    WorkingFolder f(t.path());
    Masters m;
    m.intHelpTour = 0;
    ASSERT_TRUE(store::LoadSettings(f, m).isOk());
    EXPECT_EQ(m.intHelpTour, 1);
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("設定.TXT")});
    EXPECT_EQ(t.read(QStringLiteral("設定.TXT")), kTourOn);
}

TEST(Settings, MalformedFileIsAnErrorAndNotWritten) {
    TempFolder t;
    t.write(QStringLiteral("設定.TXT"), QByteArray("\"x\",on\r\n"));
    WorkingFolder f(t.path());
    Masters m;
    const store::Status s = store::LoadSettings(f, m);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().line, 1);
    EXPECT_EQ(m.intHelpTour, 1);
    EXPECT_FALSE(store::SaveSettings(f, 0).isOk());
    EXPECT_EQ(t.read(QStringLiteral("設定.TXT")), QByteArray("\"x\",on\r\n"));
}

TEST(Masters, EvaluationMasterOfEightRecordsUsesSeven) {
    TempFolder t;
    t.write(QStringLiteral("評価マスタ.txt"),
            "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"4\"\r\n\"5\"\r\n\"6\"\r\n\"7\"\r\n\"8\"\r\n");
    WorkingFolder f(t.path());
    Masters m;
    ASSERT_TRUE(store::LoadEvaluationMaster(f, m).isOk());
    EXPECT_EQ(m.hyoukaRead, 7);
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(m.strHyoukaKoumoku[k], QString::number(k));
}

TEST(Masters, RecordsBeyondTheCountAreNotRead) {
    TempFolder t;
    // The fifth record is malformed, but it is never read.
    t.write(QStringLiteral("所有マスタ.txt"), "\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n\"e\"x\r\n");
    WorkingFolder f(t.path());
    Masters m;
    ASSERT_TRUE(store::LoadOwnershipMaster(f, m).isOk());
    EXPECT_EQ(m.syoyuRead, 4);
    EXPECT_EQ(m.strSyoyuKoumoku[4], QStringLiteral("d"));
}

TEST(Masters, EmptyOwnershipMasterGivesFourEmptyNames) {
    TempFolder t;
    t.write(QStringLiteral("所有マスタ.txt"), QByteArray());
    WorkingFolder f(t.path());
    Masters m;
    m.strSyoyuKoumoku[2] = QStringLiteral("old");
    ASSERT_TRUE(store::LoadOwnershipMaster(f, m).isOk());
    EXPECT_EQ(m.syoyuRead, 0);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(m.strSyoyuKoumoku[k], QString());
}

TEST(Masters, ShortMasterLeavesTheRestEmpty) {
    TempFolder t;
    t.write(QStringLiteral("評価マスタ.txt"),
            Hex("22 91 8D 8D 87 22 0D 0A 22 22 0D 0A 22 78 22 0D 0A"));
    WorkingFolder f(t.path());
    Masters m;
    ASSERT_TRUE(store::LoadEvaluationMaster(f, m).isOk());
    EXPECT_EQ(m.hyoukaRead, 3);
    EXPECT_EQ(m.strHyoukaKoumoku[1], QStringLiteral("総合"));
    EXPECT_EQ(m.strHyoukaKoumoku[2], QString());
    EXPECT_EQ(m.strHyoukaKoumoku[3], QStringLiteral("x"));
    for (int k = 4; k <= 7; ++k) EXPECT_EQ(m.strHyoukaKoumoku[k], QString());
}

TEST(Masters, MissingMastersAreCreatedWithDefaults) {
    TempFolder t;
    WorkingFolder f(t.path());
    Masters m;
    ASSERT_TRUE(store::LoadEvaluationMaster(f, m).isOk());
    ASSERT_TRUE(store::LoadOwnershipMaster(f, m).isOk());
    EXPECT_EQ(m.strHyoukaKoumoku, store::DefaultEvaluationItems());
    EXPECT_EQ(m.strHyoukaKoumoku[1], QStringLiteral("総合"));
    EXPECT_EQ(m.strHyoukaKoumoku[7], QStringLiteral("セクシー"));
    EXPECT_EQ(m.hyoukaRead, 7);
    EXPECT_EQ(m.strSyoyuKoumoku, store::DefaultOwnershipItems());
    EXPECT_EQ(m.syoyuRead, 4);
    EXPECT_EQ(t.entries(),
              (QStringList{QStringLiteral("所有マスタ.txt"), QStringLiteral("評価マスタ.txt")}));
    // Read again from the files created, they give the same names.
    Masters again;
    ASSERT_TRUE(store::LoadEvaluationMaster(f, again).isOk());
    ASSERT_TRUE(store::LoadOwnershipMaster(f, again).isOk());
    EXPECT_EQ(again.strHyoukaKoumoku, m.strHyoukaKoumoku);
    EXPECT_EQ(again.strSyoyuKoumoku, m.strSyoyuKoumoku);
    // "総合" is the first record, in CP932 bytes.
    EXPECT_TRUE(
        t.read(QStringLiteral("評価マスタ.txt")).startsWith(Hex("22 91 8D 8D 87 22 0D 0A")));
}

TEST(Masters, SavingWritesTheFullNumberOfRecords) {
    TempFolder t;
    WorkingFolder f(t.path());
    std::array<QString, 8> names;
    names[1] = QStringLiteral("a");
    names[3] = QStringLiteral("c");
    ASSERT_TRUE(store::SaveEvaluationMaster(f, names).isOk());
    EXPECT_EQ(t.read(QStringLiteral("評価マスタ.txt")),
              QByteArray("\"a\"\r\n\"\"\r\n\"c\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"));
    std::array<QString, 5> owned{QString(), QStringLiteral("w"), QStringLiteral("x"),
                                 QStringLiteral("y"), QStringLiteral("z")};
    ASSERT_TRUE(store::SaveOwnershipMaster(f, owned).isOk());
    EXPECT_EQ(t.read(QStringLiteral("所有マスタ.txt")),
              QByteArray("\"w\"\r\n\"x\"\r\n\"y\"\r\n\"z\"\r\n"));
    owned[2] = QStringLiteral("bad\"name");
    EXPECT_FALSE(store::SaveOwnershipMaster(f, owned).isOk());
    EXPECT_EQ(t.read(QStringLiteral("所有マスタ.txt")),
              QByteArray("\"w\"\r\n\"x\"\r\n\"y\"\r\n\"z\"\r\n"));
}

TEST(Masters, MalformedMasterIsAnErrorAndNotWritten) {
    TempFolder t;
    t.write(QStringLiteral("評価マスタ.txt"), QByteArray("\"a\"\r\n\"b\r\n"));
    WorkingFolder f(t.path());
    Masters m;
    const store::Status s = store::LoadEvaluationMaster(f, m);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().line, 2);
    EXPECT_FALSE(store::SaveEvaluationMaster(f, store::DefaultEvaluationItems()).isOk());
    EXPECT_EQ(t.read(QStringLiteral("評価マスタ.txt")), QByteArray("\"a\"\r\n\"b\r\n"));
}

}  // namespace
