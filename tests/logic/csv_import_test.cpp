#include "logic/csv_import.h"

#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "logic/csv_columns.h"
#include "logic/csv_export.h"
#include "logic/list_rows.h"
#include "store/cp932.h"
#include "tests/support/folder_helpers.h"

namespace {

using logic::ImportRefusal;
using testsupport::TempFolder;

const QString kData = QStringLiteral("データ.TXT");
const QString kHistory = QStringLiteral("鑑賞履歴.TXT");

store::Masters TestMasters() {
    store::Masters m;
    const QStringList scores = {"総合",   "感動・涙", "笑い",    "ほのぼの",
                                "スリル", "恐怖戦慄", "セクシー"};
    const QStringList owned = {"ＤＶＤ", "ブルーレイ", "ビデオ", "配信"};
    for (int k = 1; k <= 7; ++k) m.strHyoukaKoumoku[k] = scores[k - 1];
    for (int k = 1; k <= 4; ++k) m.strSyoyuKoumoku[k] = owned[k - 1];
    return m;
}

logic::CsvTable Read(const QByteArray& bytes) {
    logic::CsvTable t;
    const store::Status s = logic::ReadCsv(bytes, QStringLiteral("in.csv"), t);
    EXPECT_TRUE(s.isOk()) << (s.isOk() ? "" : s.error().reason.toStdString());
    return t;
}

class CsvImportTest : public ::testing::Test {
protected:
    void Load(const QByteArray& data, const QByteArray& history = {}) {
        f.write(kData, data);
        if (!history.isEmpty()) f.write(kHistory, history);
        ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
        ASSERT_TRUE(this->history.LoadHistory(folder).isOk());
    }
    logic::ImportPlan Plan(const QByteArray& csv,
                           const std::function<void(logic::ImportMapping&)>& adjust = {}) {
        const logic::CsvTable t = Read(csv);
        logic::ImportMapping m = logic::PresetMapping(t.header, masters);
        if (adjust) adjust(m);
        return logic::PlanImport(t, m, catalogue, history);
    }

    TempFolder f;
    store::WorkingFolder folder{f.path()};
    store::Catalogue catalogue;
    history::History history;
    store::Masters masters = TestMasters();
};

TEST(CsvReaderTest, QuotesLineBreaksSeparatorsAndEncodings) {
    // UTF-8 with a byte-order mark: a comma, doubled quotes and CR LF inside
    // quotes, a blank line, a short row, no line end at the end.
    const logic::CsvTable t = Read(
        "\xEF\xBB\xBFTitle,Note\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n\r\n\"two\r\nlines\",x\r\n"
        "short\nlast,\"\"");
    EXPECT_EQ(t.header, QStringList({"Title", "Note"}));
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0], QStringList({"a,b", "say \"hi\""}));
    EXPECT_EQ(t.rows[1], QStringList({"two\r\nlines", "x"}));
    EXPECT_EQ(t.rows[2], QStringList({"short"}));
    EXPECT_EQ(t.rows[3], QStringList({"last", ""}));
    EXPECT_EQ(t.lines, std::vector<int>({2, 4, 6, 7}));

    // Tabs from the first line; a comma is then part of a field. UTF-8 without a mark.
    const logic::CsvTable tab = Read("タイトル\t監督\r\nA,B\t\xE7\x9B\xA3\r\n");
    EXPECT_EQ(tab.header, QStringList({"タイトル", "監督"}));
    EXPECT_EQ(tab.rows[0], QStringList({"A,B", "監"}));

    // CP932: タイトル / 東京物語 (not UTF-8).
    const logic::CsvTable sjis =
        Read("\x83\x5E\x83\x43\x83\x67\x83\x8B\r\n\x93\x8C\x8B\x9E\x95\xA8\x8C\xEA\r\n");
    EXPECT_EQ(sjis.header, QStringList({"タイトル"}));
    EXPECT_EQ(sjis.rows[0], QStringList({"東京物語"}));

    // Neither: the line that stops the encoding that reads further.
    logic::CsvTable bad;
    store::Status s = logic::ReadCsv("Title\r\nok\r\n\x83\x5E\xFF\r\n", "in.csv", bad);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().line, 3);
    EXPECT_EQ(s.error().reason, QStringLiteral("文字コードが UTF-8 とも Shift_JIS とも読めません"));
    s = logic::ReadCsv("Title\r\nok\r\n\"open\r\nstill\r\n", "in.csv", bad);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().line, 3);
    s = logic::ReadCsv("\xEF\xBB\xBF\r\n", "in.csv", bad);
    EXPECT_FALSE(s.isOk());
}

TEST_F(CsvImportTest, PresetsForTheOwnExportsAndALetterboxdDiary) {
    const store::Masters m = masters;
    logic::ImportMapping own = logic::PresetMapping(
        {"タイトル名", "監督", "主演", "公開日", "国", "ジャンル", "評", "総合", "感動・涙", "笑い",
         "ほのぼの", "スリル", "恐怖戦慄", "セクシー", "ＤＶＤ", "ブルーレイ", "ビデオ", "配信"},
        m);
    for (int k = 0; k < logic::kImportFields; ++k) EXPECT_EQ(own.field[k], k) << k;
    EXPECT_EQ(own.date, -1);

    logic::ImportMapping diary = logic::PresetMapping(
        {"Date", "Name", "Year", "Letterboxd URI", "Rating", "Rewatch", "Tags", "Watched Date"}, m);
    EXPECT_EQ(diary.field[0], 1);
    EXPECT_EQ(diary.field[3], 2);
    EXPECT_EQ(diary.date, 7);
    EXPECT_EQ(diary.kind, -1);
    EXPECT_EQ(diary.defaultKind, QStringLiteral("その他"));
    for (int k : {1, 2, 4, 5, 6}) EXPECT_EQ(diary.field[k], -1) << k;

    logic::ImportMapping english =
        logic::PresetMapping({"title", "Director", "Cast", "Nationality", "Genre"}, m);
    EXPECT_EQ(english.field[0], 0);
    EXPECT_EQ(english.field[2], 2);
    EXPECT_EQ(english.field[4], 3);
    EXPECT_EQ(english.field[5], 4);
}

TEST(CsvImportDatesTest, TheDateForms) {
    using logic::ImportReleaseDate;
    using logic::ImportViewingDate;
    EXPECT_EQ(ImportReleaseDate("2004-01-15"), QStringLiteral("2004/01/15"));
    EXPECT_EQ(ImportReleaseDate("2004/1/15"), QStringLiteral("2004/01/15"));
    EXPECT_EQ(ImportReleaseDate("2004年1月15日"), QStringLiteral("2004/01/15"));
    EXPECT_EQ(ImportReleaseDate("2004年7月"), QStringLiteral("2004/07"));
    EXPECT_EQ(ImportReleaseDate("2004-07"), QStringLiteral("2004/07"));
    EXPECT_EQ(ImportReleaseDate(" 1954 "), QStringLiteral("1954/01"));
    EXPECT_EQ(ImportReleaseDate("２００４年"), QStringLiteral("2004/01"));
    for (const char* no : {"", "04/01/15", "2004/13", "2004-02-30", "2004/1-15", "2004年1/15",
                           "circa 1950", "2004/01/15/1"}) {
        EXPECT_EQ(ImportReleaseDate(QString::fromUtf8(no)), std::nullopt) << no;
    }
    EXPECT_EQ(ImportViewingDate("2024-03-09"), QStringLiteral("2024/03/09"));
    EXPECT_EQ(ImportViewingDate("2024年3月9日"), QStringLiteral("2024/03/09"));
    EXPECT_EQ(ImportViewingDate("2024/03"), std::nullopt);
    EXPECT_EQ(ImportViewingDate("2024"), std::nullopt);
}

TEST_F(CsvImportTest, EachRefusalByLineAndTheValuesAsStored) {
    Load("\"Old\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n");
    const QString longName = QString(100, u'長');  // 300 bytes as a file name
    const QString longField = QString(1001, u'x');
    const QByteArray csv =
        "\xEF\xBB\xBFTitle,Director,Year,評,総合,笑い,ＤＶＤ,配信\r\n"
        "  New  , Kurosawa ,1954年,○,120,7.5,有,no\r\n"  // 2
        ",x,,,,,,\r\n"                                   // 3
        "a/b,,,,,,,\r\n"                                 // 4
        "Bad,\xE2\x98\x83,,,,,,\r\n"                     // 5 a snowman
        "Quote,\"say \"\"x\"\"\",,,,,,\r\n"              // 6
        "Long," +
        longField.toUtf8() + ",,,,,,\r\n"  // 7
        + longName.toUtf8() +
        ",,,,,,,\r\n"                // 8
        "Year,,sometime,,,,,\r\n"    // 9
        "Mark,,,★,,,,\r\n"           // 10
        "Score,,,,many,,,\r\n"       // 11
        "Old,,,,,,,\r\n"             // 12
        "New,,,,,,,\r\n"             // 13
        "Second,,,,-3,,1,TRUE\r\n";  // 14
    const logic::ImportPlan plan = Plan(csv, [](logic::ImportMapping& m) { m.fullWidth = false; });
    ASSERT_EQ(plan.titles.size(), 2u);
    EXPECT_EQ(plan.titles[0].line, 2);
    EXPECT_EQ(plan.titles[0].fields,
              QStringList({"New", "Kurosawa", "", "1954/01", "", "", "○", "100", "0", "8", "0", "0",
                           "0", "0", "○", "", "", ""}));
    EXPECT_EQ(plan.titles[1].fields[0], "Second");
    EXPECT_EQ(plan.titles[1].fields[7], "0");
    EXPECT_EQ(plan.titles[1].fields[14], QStringLiteral("○"));
    EXPECT_EQ(plan.titles[1].fields[17], QStringLiteral("○"));
    EXPECT_EQ(plan.clampedScores, 3);
    const std::vector<std::pair<int, ImportRefusal>> expected = {
        {3, ImportRefusal::EmptyTitle}, {4, ImportRefusal::ForbiddenInTitle},
        {5, ImportRefusal::Unstorable}, {6, ImportRefusal::Unstorable},
        {7, ImportRefusal::TooLong},    {8, ImportRefusal::NameTooLong},
        {9, ImportRefusal::BadValue},   {10, ImportRefusal::BadValue},
        {11, ImportRefusal::BadValue},  {12, ImportRefusal::InCatalogue},
        {13, ImportRefusal::Repeated}};
    ASSERT_EQ(plan.refused.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plan.refused[i].line, expected[i].first) << i;
        EXPECT_EQ(plan.refused[i].reason, expected[i].second) << i;
    }
    EXPECT_EQ(plan.refused[2].detail,
              QStringLiteral("次の文字はファイルに保存できないため使えません：「☃」"));
    EXPECT_EQ(logic::ImportCountText(plan),
              QStringLiteral("追加するタイトル：2 件　取り込まない行：11 件（タイトルが空 1、"
                             "タイトルに使えない文字 1、保存できない文字 2、1000 文字を超える項目 "
                             "1、ファイル名にできない長さのタイトル 1、読めない公開日・評・点数 "
                             "3、登録済みのタイトル 1、ファイル内で重複するタイトル 1）　"
                             "追加する鑑賞記録：0 件　範囲に合わせた点数：3 件"));
}

TEST_F(CsvImportTest, ADiaryWithARewatchGivesOneTitleAndTwoViewingsAtTheLimit) {
    // 32765 titles: room for one more.
    QByteArray data, saved;
    auto full = [](const QByteArray& name, const QByteArray& release) {
        return "\"" + name + "\",\"\",\"\",\"" + release +
               "\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
    };
    for (int i = 1; i <= 32765; ++i) {
        const QByteArray name = "T" + QByteArray::number(i);
        data += "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
        saved += full(name, "");
    }
    Load(data, "\"2024/01/01\",\"T1\",\"DVD\"\r\n\"2024/02/01\",\"T1\",\"DVD\"\r\n");
    const logic::ImportPlan plan = Plan(
        "Date,Name,Year,Letterboxd URI,Rating,Rewatch,Tags,Watched Date\r\n"
        "2024-02-03,Paris,1984,u,4,,,2024-02-01\r\n"
        "2024-02-04,Paris,1984,u,4.5,Yes,,2024-01-05\r\n"
        "2024-02-05,T1,1984,u,4,,,2024-02-01\r\n"
        "2024-02-06,Over,1984,u,4,,,2024-02-02\r\n"
        "2024-02-06,NoDate,1984,u,4,,,\r\n");
    ASSERT_EQ(plan.titles.size(), 1u);
    EXPECT_EQ(plan.titles[0].fields[0], "Paris");
    EXPECT_EQ(plan.titles[0].fields[3], "1984/01");
    ASSERT_EQ(plan.viewings.size(), 3u);
    EXPECT_EQ(plan.viewings[1].date, "2024/01/05");
    EXPECT_EQ(plan.viewings[1].content, QStringLiteral("その他"));
    EXPECT_EQ(plan.viewings[2].title, "T1");
    ASSERT_EQ(plan.refused.size(), 4u);
    EXPECT_EQ(plan.refused[2].reason, ImportRefusal::OverLimit);
    EXPECT_EQ(plan.refused[2].line, 5);
    EXPECT_EQ(plan.refused[3].reason, ImportRefusal::OverLimit);

    // Commit: the viewings merged after the records of their date, in file order.
    const logic::ImportOutcome done = logic::CommitImport(plan, catalogue, history, folder,
                                                          QDateTime({2026, 12, 8}, {10, 30, 5}));
    ASSERT_TRUE(done.status.isOk()) << done.status.error().reason.toStdString();
    EXPECT_EQ(done.backupFolder, QStringLiteral("バックアップ_20261208_103005"));
    EXPECT_EQ(f.read(done.backupFolder + "/" + kData), data);
    EXPECT_EQ(f.read(kData), saved + full("Paris", "1984/01"));
    // その他 in CP932.
    const QByteArray other = "\x82\xbb\x82\xcc\x91\xbc";
    EXPECT_EQ(f.read(kHistory), "\"2024/01/01\",\"T1\",\"DVD\"\r\n\"2024/01/05\",\"Paris\",\"" +
                                    other + "\"\r\n\"2024/02/01\",\"T1\",\"DVD\"\r\n" +
                                    "\"2024/02/01\",\"Paris\",\"" + other +
                                    "\"\r\n\"2024/02/01\",\"T1\",\"" + other + "\"\r\n");
}

TEST_F(CsvImportTest, TheOwnMainListExportComesBackWithItsSixFields) {
    TempFolder other;
    store::WorkingFolder otherFolder{other.path()};
    // 東京物語 / 小津安二郎 / "A, ""B""" / 1953/11 / 日本 / ドラマ; a second with empty fields.
    other.write(
        kData,
        "\"\x93\x8c\x8b\x9e\x95\xa8\x8c\xea\",\"\x8f\xac\x92\xc3\x88\xc0\x93\xf1\x98\x59\","
        "\"A, B\",\"1953/11\",\"\x93\xfa\x96\x7b\",\"\x83\x68\x83\x89\x83\x7d\",\"\",0,0,0,0,0,"
        "0,0,\"\",\"\",\"\",\"\"\r\n\"Zero\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n");
    store::Catalogue source;
    const store::Status loaded = source.LoadTitleData(otherFolder);
    ASSERT_TRUE(loaded.isOk()) << loaded.error().message().toStdString();
    std::vector<QStringList> rows = logic::MainListRows(source);
    rows.insert(rows.begin(), {"タイトル名", "監督", "主演", "公開日", "国", "ジャンル"});

    Load({});
    const logic::ImportPlan plan = Plan(logic::CsvBytes(rows));
    ASSERT_EQ(plan.titles.size(), 2u);
    ASSERT_TRUE(logic::CommitImport(plan, catalogue, history, folder, QDateTime({2026, 1, 1}, {}))
                    .status.isOk());
    ASSERT_TRUE(catalogue.LoadTitleData(folder).isOk());
    ASSERT_EQ(catalogue.TitleCount, 2);
    for (size_t i = 1; i <= 2; ++i) {
        for (auto field : {&store::Catalogue::strDaimei, &store::Catalogue::strKantoku,
                           &store::Catalogue::strSyuen, &store::Catalogue::strNengetu,
                           &store::Catalogue::strKuni, &store::Catalogue::strJanru}) {
            EXPECT_EQ((catalogue.*field)[i], (source.*field)[i]) << i;
        }
    }
    EXPECT_EQ(f.read(kHistory), QByteArray());
}

// Rows of a Letterboxd diary and of Tellico's export: titles with characters a
// file name cannot hold, films of one name, a rewatch, lists and side texts.
TEST_F(CsvImportTest, WhatRealFilesBring) {
    Load(
        "\"Cape Fear\",,,\"1962/01\",,,,0,0,0,0,0,0,0,,,,\"\"\r\n"
        "\"Solaris\",,,\"1972/03\",,,,0,0,0,0,0,0,0,,,,\"\"\r\n"
        "\"Solaris (2002)\",,,\"1990\",,,,0,0,0,0,0,0,0,,,,\"\"\r\n");
    const QByteArray diary =
        "Date,Name,Year,Letterboxd URI,Rating,Rewatch,Tags,Watched Date\n"
        "2024-01-02,2001: A Space Odyssey,1968,u,5,,,2024-01-01\n"  // 2
        "2024-01-03,Dune,1984,u,3,,,2024-01-02\n"                   // 3
        "2024-01-04,Dune,2021,u,4,,,2024-01-03\n"                   // 4
        "2024-01-05,Dune,2021,u,4,Yes,,2024-01-04\n"                // 5 a rewatch
        "2024-01-06,Cape Fear,1991,u,4,,,2024-01-05\n"              // 6
        "2024-01-07,Cape Fear,1962,u,4,,,2024-01-06\n"              // 7
        "2024-01-08,Solaris,2002,u,4,,,2024-01-07\n";               // 8 the other name taken
    const logic::ImportPlan plan = Plan(diary);
    std::vector<std::pair<int, QString>> titles;
    for (const auto& t : plan.titles) titles.emplace_back(t.line, t.fields[0]);
    EXPECT_EQ(titles, (std::vector<std::pair<int, QString>>{{2, "2001： A Space Odyssey"},
                                                            {3, "Dune"},
                                                            {4, "Dune (2021)"},
                                                            {6, "Cape Fear (1991)"}}));
    EXPECT_EQ(plan.titles[0].notes, logic::TitleMadeFullWidth);
    EXPECT_EQ(plan.titles[2].notes, logic::YearAddedToTitle);
    std::vector<QString> viewed;
    for (const auto& v : plan.viewings) viewed.push_back(v.date + " " + v.title);
    EXPECT_EQ(viewed,
              (std::vector<QString>{"2024/01/01 2001： A Space Odyssey", "2024/01/02 Dune",
                                    "2024/01/03 Dune (2021)", "2024/01/04 Dune (2021)",
                                    "2024/01/05 Cape Fear (1991)", "2024/01/06 Cape Fear"}));
    ASSERT_EQ(plan.refused.size(), 3u);
    EXPECT_EQ(plan.refused[0].title, "Dune (2021)");
    EXPECT_EQ(plan.refused[0].reason, ImportRefusal::Repeated);
    EXPECT_EQ(plan.refused[1].reason, ImportRefusal::InCatalogue);
    EXPECT_EQ(plan.refused[2].line, 8);
    EXPECT_EQ(plan.refused[2].reason, ImportRefusal::Repeated);

    // Both boxes unchecked: refused as before, and one Dune with both years' viewings.
    const logic::ImportPlan plain = Plan(diary, [](logic::ImportMapping& m) {
        m.fullWidth = false;
        m.yearSuffix = false;
    });
    ASSERT_EQ(plain.titles.size(), 1u);
    EXPECT_EQ(plain.titles[0].fields[0], "Dune");
    EXPECT_EQ(plain.refused[0].reason, ImportRefusal::ForbiddenInTitle);
    EXPECT_EQ(plain.viewings.size(), 6u);

    // Each replacement is one CP932 character.
    EXPECT_EQ(cp932::encode(logic::FullWidthTitle("\\/:,;*?\"<>|")),
              QByteArray("\x81\x5f\x81\x5e\x81\x46\x81\x43\x81\x47\x81\x96\x81\x48\x81\x68\x81\x83"
                         "\x81\x84\x81\x62"));

    // The history made by the import has the program's name for it.
    ASSERT_TRUE(logic::CommitImport(plan, catalogue, history, folder, QDateTime({2026, 1, 1}, {}))
                    .status.isOk());
    EXPECT_TRUE(QDir(f.path()).entryList(QDir::Files).contains(kHistory));
    const QByteArray other = "\",\"\x82\xbb\x82\xcc\x91\xbc\"\r\n";  // その他
    EXPECT_EQ(f.read(kHistory),
              "\"2024/01/01\",\"2001\x81\x46 A Space Odyssey" + other + "\"2024/01/02\",\"Dune" +
                  other + "\"2024/01/03\",\"Dune (2021)" + other + "\"2024/01/04\",\"Dune (2021)" +
                  other + "\"2024/01/05\",\"Cape Fear (1991)" + other +
                  "\"2024/01/06\",\"Cape Fear" + other);

    // Tellico 3.4's export: its year, a genre list, a cast table, a synopsis
    // over two lines, comments; a synopsis the file cannot hold.
    const logic::ImportPlan tellico = Plan(
        "Title,Medium,Production Year,Certification,Genre,Format,Nationality,Language,Cast,"
        "Director,Producer,Running Time,Plot Summary,Personal Rating,Comments\n"
        "七人の侍,DVD,1954,,時代劇; ドラマ,NTSC,日本,日本語,三船敏郎:菊千代|志村喬:島田勘兵衛,"
        "黒澤明,本木荘二郎,207,\"野武士に襲われる村が、\n七人の侍を雇う。\",5,名作\n"
        "Snow,DVD,1990,,,,,,,,,,\xE2\x98\x83,,\n");
    ASSERT_EQ(tellico.titles.size(), 2u);
    const logic::ImportTitle& seven = tellico.titles[0];
    EXPECT_EQ(seven.fields.mid(0, 6),
              QStringList({"七人の侍", "黒澤明", "三船敏郎", "1954/01", "日本", "時代劇"}));
    EXPECT_EQ(seven.sideTexts,
              (std::array<QString, 3>{"三船敏郎（菊千代）\r\n志村喬（島田勘兵衛）",
                                      "野武士に襲われる村が、\r\n七人の侍を雇う。", "名作"}));
    EXPECT_EQ(logic::ImportNoteText(seven.notes), QStringLiteral("ジャンルは先頭の値のみ"));
    EXPECT_EQ(tellico.titles[1].sideTexts, (std::array<QString, 3>{}));
    EXPECT_EQ(tellico.sideTextsLeftOut, 1);
    EXPECT_TRUE(logic::ImportCountText(tellico).endsWith(
        QStringLiteral("　保存できない文字があり書かないキャスト・あらすじ・メモ：1 件")));
}

}  // namespace
