#include "store/side_files.h"

#include <gtest/gtest.h>

#include <QDir>

#include "tests/support/folder_helpers.h"

using store::SideText;
using store::WorkingFolder;
using testsupport::B;
using testsupport::TempFolder;

namespace {

QString Load(WorkingFolder& f, SideText kind, const QString& title, bool* ok = nullptr) {
    QString text = QStringLiteral("previous");
    const store::Status s = store::LoadSideText(f, kind, title, text);
    if (ok) *ok = s.isOk();
    return text;
}

TEST(SideFiles, Names) {
    EXPECT_EQ(store::SideTextFileName(SideText::Cast, QStringLiteral("T")),
              QStringLiteral("キャスト_T.txt"));
    EXPECT_EQ(store::SideTextFileName(SideText::Synopsis, QStringLiteral("T")),
              QStringLiteral("あらすじ_T.txt"));
    EXPECT_EQ(store::SideTextFileName(SideText::Memo, QStringLiteral("T")),
              QStringLiteral("メモ_T.txt"));
}

TEST(SideFiles, NoSideFilesGiveEmptyTexts) {
    TempFolder t;
    WorkingFolder f(t.path());
    for (SideText k : {SideText::Cast, SideText::Synopsis, SideText::Memo}) {
        bool ok = false;
        EXPECT_EQ(Load(f, k, QStringLiteral("T"), &ok), QString());
        EXPECT_TRUE(ok);
    }
}

TEST(SideFiles, OneLineWithoutFinalCrLfShowsThatLine) {
    TempFolder t;
    t.write(QStringLiteral("メモ_T.txt"), B("\x88\xea\x8d\x73\x96\xda"));  // 一行目
    WorkingFolder f(t.path());
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("T")), QStringLiteral("一行目"));
}

TEST(SideFiles, OnlyOneFinalCrLfIsRemoved) {
    TempFolder t;
    t.write(QStringLiteral("メモ_T.txt"), QByteArray("text\r\n\r\n"));
    WorkingFolder f(t.path());
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("T")), QStringLiteral("text\r\n"));
    t.write(QStringLiteral("メモ_T.txt"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("T")), QStringLiteral("a\r\nb"));
    t.write(QStringLiteral("メモ_T.txt"), QByteArray("a\rb\nc\r\n"));  // a lone CR ends a line
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("T")), QStringLiteral("a\r\nb\nc"));
}

TEST(SideFiles, FoundIgnoringCaseOfTheEnding) {
    TempFolder t;
    t.write(QStringLiteral("キャスト_T.TXT"), QByteArray("x\r\n"));
    WorkingFolder f(t.path());
    EXPECT_EQ(Load(f, SideText::Cast, QStringLiteral("T")), QStringLiteral("x"));
}

TEST(SideFiles, SaveWritesOnePrintLineAndLoadGivesTheTextBack) {
    TempFolder t;
    WorkingFolder f(t.path());
    const QString text = QStringLiteral("\"引用\", 次\r\n\r\n最後の行 ～①");
    ASSERT_TRUE(store::SaveSideText(f, SideText::Synopsis, QStringLiteral("T"), text).isOk());
    EXPECT_EQ(t.read(QStringLiteral("あらすじ_T.txt")),
              B("\"\x88\xf8\x97\x70\", \x8e\x9f\r\n\r\n\x8d\xc5\x8c\xe3\x82\xcc\x8d\x73 "
                "\x81\x60\x87\x40\r\n"));
    EXPECT_EQ(Load(f, SideText::Synopsis, QStringLiteral("T")), text);
}

TEST(SideFiles, SavingAnEmptyTextDeletesTheFile) {
    TempFolder t;
    t.write(QStringLiteral("メモ_T.TXT"), QByteArray("x\r\n"));
    WorkingFolder f(t.path());
    ASSERT_TRUE(store::SaveSideText(f, SideText::Memo, QStringLiteral("T"), QString()).isOk());
    EXPECT_TRUE(t.entries().isEmpty());
    ASSERT_TRUE(store::SaveSideText(f, SideText::Memo, QStringLiteral("T"), QString()).isOk());
}

// Only characters outside CP932 are refused.
TEST(SideFiles, CharactersOutsideCp932AreRefused) {
    TempFolder t;
    t.write(QStringLiteral("メモ_T.txt"), QByteArray("old\r\n"));
    WorkingFolder f(t.path());
    const store::Status s =
        store::SaveSideText(f, SideText::Memo, QStringLiteral("T"), QStringLiteral("ok\r\n😀"));
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().file, QStringLiteral("メモ_T.txt"));
    EXPECT_EQ(s.error().line, 2);
    EXPECT_TRUE(s.error().reason.contains(QStringLiteral("😀")));
    EXPECT_EQ(t.read(QStringLiteral("メモ_T.txt")), QByteArray("old\r\n"));
}

TEST(SideFiles, AFileThatDoesNotDecodeIsAnErrorAndNeverWritten) {
    TempFolder t;
    t.write(QStringLiteral("メモ_T.txt"), B("ok\r\n\x85\x40"));
    WorkingFolder f(t.path());
    bool ok = true;
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("T"), &ok), QString());
    EXPECT_FALSE(ok);
    EXPECT_FALSE(
        store::SaveSideText(f, SideText::Memo, QStringLiteral("T"), QStringLiteral("x")).isOk());
    EXPECT_FALSE(store::SaveSideText(f, SideText::Memo, QStringLiteral("T"), QString()).isOk());
    EXPECT_EQ(t.read(QStringLiteral("メモ_T.txt")), B("ok\r\n\x85\x40"));
}

TEST(SideFiles, PictureCandidatesInOrderJpgGifBmp) {
    TempFolder t;
    t.write(QStringLiteral("T.jpg"), "j");
    t.write(QStringLiteral("T.BMP"), "b");
    WorkingFolder f(t.path());
    const QStringList c = store::PictureCandidates(f, QStringLiteral("T"));
    EXPECT_EQ(c, (QStringList{t.file(QStringLiteral("T.jpg")), t.file(QStringLiteral("T.BMP"))}));
    EXPECT_EQ(c.last(), t.file(QStringLiteral("T.BMP")));  // the last existing one wins
    t.write(QStringLiteral("T.gif"), "g");
    EXPECT_EQ(store::PictureCandidates(f, QStringLiteral("T")).size(), 3);
    EXPECT_TRUE(store::PictureCandidates(f, QStringLiteral("U")).isEmpty());
}

// Names built from a title never leave the folder.
TEST(SideFiles, ATitleWithASlashReadsAsNoFileAndIsRefusedForWriting) {
    TempFolder outer;
    QDir(outer.path()).mkpath(QStringLiteral("work/メモ_x"));
    outer.write(QStringLiteral("work/メモ_x/y.txt"), "inner\r\n");
    outer.write(QStringLiteral("secret.txt"), "secret\r\n");
    outer.write(QStringLiteral("secret.jpg"), "secret");
    WorkingFolder f(outer.file(QStringLiteral("work")));
    bool ok = false;
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("x/y"), &ok), QString());
    EXPECT_TRUE(ok);
    EXPECT_EQ(Load(f, SideText::Memo, QStringLiteral("/../../secret"), &ok), QString());
    EXPECT_TRUE(store::PictureCandidates(f, QStringLiteral("../secret")).isEmpty());
    EXPECT_FALSE(
        store::SaveSideText(f, SideText::Memo, QStringLiteral("x/y"), QStringLiteral("z")).isOk());
    EXPECT_FALSE(store::SaveSideText(f, SideText::Memo, QStringLiteral("x/y"), QString()).isOk());
    store::DeleteTitleFiles(f, QStringLiteral("../secret"));
    EXPECT_EQ(outer.read(QStringLiteral("work/メモ_x/y.txt")), QByteArray("inner\r\n"));
    EXPECT_EQ(outer.read(QStringLiteral("secret.txt")), QByteArray("secret\r\n"));
    EXPECT_TRUE(outer.exists(QStringLiteral("secret.jpg")));
}

TEST(SideFiles, DeleteTitleFilesRemovesTheFiveEndings) {
    TempFolder t;
    for (const char* n : {"T.TXT", "T.jpg", "T.BMP", "T.gif", "メモ_T.txt", "TT.jpg"}) {
        t.write(QString::fromUtf8(n), "x");
    }
    WorkingFolder f(t.path());
    store::DeleteTitleFiles(f, QStringLiteral("T"));
    EXPECT_EQ(t.entries(), (QStringList{QStringLiteral("TT.jpg"), QStringLiteral("メモ_T.txt")}));
}

}  // namespace
