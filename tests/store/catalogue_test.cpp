#include "store/catalogue.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "tests/support/file_size_limit.h"
#include "tests/support/folder_helpers.h"

using store::Catalogue;
using store::SortedPickList;
using store::WorkingFolder;
using testsupport::B;
using testsupport::TempFolder;

namespace {

const QString kData = QStringLiteral("データ.TXT");

// One record of 18 fields as bytes (ASCII texts only, for readability).
QByteArray Rec(const char* name, const char* director = "", const char* actor = "",
               const char* release = "", const char* country = "", const char* genre = "") {
    return QByteArray("\"") + name + "\",\"" + director + "\",\"" + actor + "\",\"" + release +
           "\",\"" + country + "\",\"" + genre + "\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n";
}

std::vector<QString> Strings(std::initializer_list<const char*> l) {
    std::vector<QString> v;
    for (const char* s : l) v.push_back(QString::fromUtf8(s));
    return v;
}

TEST(Catalogue, MissingDataFileIsCreatedEmpty) {
    TempFolder t;
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_TRUE(c.IsLoaded());
    EXPECT_EQ(c.TitleCount, 0);
    EXPECT_EQ(c.ScrollMaximum(), 1);
    EXPECT_TRUE(c.cboName.empty());
    EXPECT_TRUE(c.cboKantoku.items().empty());
    EXPECT_TRUE(c.cboKoukai.empty());
    EXPECT_TRUE(t.exists(kData));
    EXPECT_EQ(t.read(kData), QByteArray());
    EXPECT_EQ(c.strDaimei.size(), 1u);  // slot 0
}

TEST(Catalogue, ZeroByteDataFileHasNoTitle) {
    TempFolder t;
    t.write(kData, QByteArray());
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 0);
    EXPECT_EQ(c.ScrollMaximum(), 1);
}

TEST(Catalogue, LoadsTheEighteenFieldsFromCp932Bytes) {
    TempFolder t;
    // "七人の侍","黒澤明","三船敏郎","1954/04","日本","時代劇","◎",95,9,3,2,8,1,0,"○","","○",""
    t.write(kData,
            B("\"\x8e\xb5\x90\x6c\x82\xcc\x8e\x98\",\"\x8d\x95\xe0\x56\x96\xbe\",\"\x8e\x4f\x91\x44"
              "\x95\x71\x98\x59\",\"1954/04\",\"\x93\xfa\x96\x7b\",\"\x8e\x9e\x91\xe3\x8c\x80\","
              "\"\x81\x9d\",95,9,3,2,8,1,0,\"\x81\x9b\",\"\",\"\x81\x9b\",\"\"\r\n"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    ASSERT_EQ(c.TitleCount, 1);
    EXPECT_EQ(c.strDaimei[1], QStringLiteral("七人の侍"));
    EXPECT_EQ(c.strKantoku[1], QStringLiteral("黒澤明"));
    EXPECT_EQ(c.strSyuen[1], QStringLiteral("三船敏郎"));
    EXPECT_EQ(c.strNengetu[1], QStringLiteral("1954/04"));
    EXPECT_EQ(c.strKuni[1], QStringLiteral("日本"));
    EXPECT_EQ(c.strJanru[1], QStringLiteral("時代劇"));
    EXPECT_EQ(c.strHyouka[1], QStringLiteral("◎"));
    const std::array<qint16, 8> scores{0, 95, 9, 3, 2, 8, 1, 0};
    EXPECT_EQ(c.intTensu[1], scores);
    EXPECT_EQ(c.strSyoyu[1][1], QStringLiteral("○"));
    EXPECT_EQ(c.strSyoyu[1][2], QString());
    EXPECT_EQ(c.strSyoyu[1][3], QStringLiteral("○"));
    EXPECT_EQ(c.strSyoyu[1][4], QString());
    EXPECT_EQ(c.cboName, Strings({"七人の侍"}));
    EXPECT_EQ(c.cboKoukai, Strings({"1954/04"}));
    EXPECT_EQ(c.cboKoukai3, Strings({"1954年"}));
    EXPECT_EQ(c.ScrollMaximum(), 1);
    // Saving writes the same bytes back.
    const QByteArray before = t.read(kData);
    ASSERT_TRUE(c.SaveTitleData(f).isOk());
    EXPECT_EQ(t.read(kData), before);
}

TEST(Catalogue, PickListsHoldDistinctNonEmptyValues) {
    TempFolder t;
    t.write(kData, Rec("T1", "d", "s", "2004/07", "k", "g") + Rec("T2", "d", "", "2004/12") +
                       Rec("T3", "", "s2", "", "k") + Rec("T4", "", "", "2005/01/03"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 4);
    EXPECT_EQ(c.ScrollMaximum(), 4);
    EXPECT_EQ(c.cboName, Strings({"T1", "T2", "T3", "T4"}));
    EXPECT_EQ(c.cboKantoku.items(), Strings({"d"}));
    EXPECT_EQ(c.cboSyuen.items(), Strings({"s", "s2"}));
    EXPECT_EQ(c.cboKuni.items(), Strings({"k"}));
    EXPECT_EQ(c.cboJanru.items(), Strings({"g"}));
    EXPECT_EQ(c.cboKoukai, Strings({"2004/07", "2004/12", "2005/01"}));
    EXPECT_EQ(c.cboKoukai3, Strings({"2004年", "2005年"}));
}

// A value is present only when that exact value was seen.
TEST(Catalogue, SeenSetsAreExactNotSubstrings) {
    TempFolder t;
    t.write(kData, Rec("T1", "a,b") + Rec("T2", "a") + Rec("T3", "b") + Rec("T4", "a,b"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.cboKantoku.items(), Strings({"a", "a,b", "b"}));
    EXPECT_EQ(c.AddPickValue(Catalogue::PickField::Kantoku, QStringLiteral(",b")), 0);
    EXPECT_EQ(c.AddPickValue(Catalogue::PickField::Kantoku, QStringLiteral("a")), -1);
}

TEST(Catalogue, SortedListsUseCaseInsensitiveOrderAndNewEntriesGoAfterEqualOnes) {
    TempFolder t;
    WorkingFolder f(t.path());
    Catalogue c;
    t.write(kData,
            Rec("T1", "b") + Rec("T2", "A") + Rec("T3", "a") + Rec("T4", "B") + Rec("T7", "c"));
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.cboKantoku.items(), Strings({"A", "a", "b", "B", "c"}));
    // A typed value takes its sorted place, after the equal entries.
    EXPECT_EQ(c.AddPickValue(Catalogue::PickField::Kantoku, QStringLiteral("C")), 5);
    EXPECT_EQ(c.AddPickValue(Catalogue::PickField::Kantoku, QStringLiteral("Ab")), 2);
    EXPECT_EQ(c.AddPickValue(Catalogue::PickField::Kantoku, QString()), -1);
    EXPECT_EQ(c.cboKantoku.items(), Strings({"A", "a", "Ab", "b", "B", "c", "C"}));
}

TEST(SortedPickList, InsertMatchesASortOfTheSameEntries) {
    const std::vector<QString> entries = Strings(
        {"b", "A", "a", "B", "あ", "ア", "ｱ", "Ｂ", "ｂ", "1", "", "ä", "Ä", "z", "Z", "_", "～"});
    SortedPickList inserted, sorted;
    for (const QString& e : entries) {
        inserted.insert(e);
        sorted.append(e);
    }
    sorted.sort();
    EXPECT_EQ(inserted.items(), sorted.items());
    for (size_t i = 1; i < sorted.items().size(); ++i) {
        EXPECT_LE(QString::compare(sorted.items()[i - 1], sorted.items()[i], Qt::CaseInsensitive),
                  0);
    }
}

TEST(Catalogue, ReleaseListsByFirstAppearance) {
    Catalogue c;
    EXPECT_TRUE(c.AddReleaseMonth(QStringLiteral("2004/07")));
    EXPECT_TRUE(c.AddReleaseYear(QStringLiteral("2004/07")));
    EXPECT_TRUE(c.AddReleaseMonth(QStringLiteral("2004/12")));
    EXPECT_FALSE(c.AddReleaseYear(QStringLiteral("2004/12")));
    EXPECT_FALSE(c.AddReleaseMonth(QStringLiteral("2004/07/01")));
    EXPECT_FALSE(c.AddReleaseMonth(QString()));
    EXPECT_EQ(c.cboKoukai, Strings({"2004/07", "2004/12"}));
    EXPECT_EQ(c.cboKoukai3, Strings({"2004年"}));
}

TEST(Catalogue, SaveAndLoadReproduceTheArrays) {
    TempFolder t;
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    ASSERT_TRUE(c.AppendTitle(f, QStringLiteral("タイトル１")).isOk());
    ASSERT_TRUE(c.AppendTitle(f, QStringLiteral("two")).isOk());
    EXPECT_EQ(t.read(kData),
              B("\"\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\x50\",,,,,,,,,,,,,,,,,\"\"\r\n"
                "\"two\",,,,,,,,,,,,,,,,,\"\"\r\n"));
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    ASSERT_EQ(c.TitleCount, 2);
    c.strKantoku[1] = QStringLiteral("監督, 二人");
    c.strSyuen[2] = QStringLiteral("～①㈱");
    c.strNengetu[1] = QStringLiteral("2004/07");
    c.strHyouka[2] = QStringLiteral("△");
    c.intTensu[1] = {0, 100, 10, 0, 5, 0, 0, 1};
    c.strSyoyu[2][4] = QStringLiteral("○");
    ASSERT_TRUE(c.SaveTitleData(f).isOk());
    Catalogue d;
    ASSERT_TRUE(d.LoadTitleData(f).isOk());
    EXPECT_EQ(d.TitleCount, 2);
    EXPECT_EQ(d.strDaimei, c.strDaimei);
    EXPECT_EQ(d.strKantoku, c.strKantoku);
    EXPECT_EQ(d.strSyuen, c.strSyuen);
    EXPECT_EQ(d.strNengetu, c.strNengetu);
    EXPECT_EQ(d.strHyouka, c.strHyouka);
    EXPECT_EQ(d.intTensu, c.intTensu);
    EXPECT_EQ(d.strSyoyu, c.strSyoyu);
    EXPECT_EQ(d.IndexOf(QStringLiteral("two")), 2);
    EXPECT_EQ(d.IndexOf(QStringLiteral("TWO")), 0);
}

TEST(Catalogue, AppendTitleWritesNameSeventeenCommasAndAnEmptyText) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    ASSERT_TRUE(c.AppendTitle(f, QStringLiteral("B")).isOk());
    EXPECT_EQ(t.read(kData), Rec("A") + "\"B\",,,,,,,,,,,,,,,,,\"\"\r\n");
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 2);
    EXPECT_EQ(c.strDaimei[2], QStringLiteral("B"));
    EXPECT_EQ(c.strKantoku[2], QString());
    EXPECT_EQ(c.intTensu[2], (std::array<qint16, 8>{}));
    EXPECT_EQ(c.strSyoyu[2][4], QString());
    // A name already in the catalogue is refused.
    EXPECT_FALSE(c.AppendTitle(f, QStringLiteral("B")).isOk());
}

// A record appended in memory comes after the loaded ones, every field in its
// place, and is written as such.
TEST(Catalogue, AppendRecordAddsATitleAfterTheLast) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    store::TitleRecord r{"B", "D", "S", "2004/01", "K", "J", "", {0, 90, 1, 2, 3, 4, 5, 10}, {}};
    r.strSyoyu[4] = QStringLiteral("○");
    c.ReserveTitles(2);
    c.AppendRecord(r);
    EXPECT_EQ(c.TitleCount, 2);
    QByteArray bytes;
    ASSERT_TRUE(c.TitleDataBytes(f, bytes).isOk());
    EXPECT_EQ(bytes, Rec("A") +
                         "\"B\",\"D\",\"S\",\"2004/01\",\"K\",\"J\",\"\",90,1,2,3,4,5,10,"
                         "\"\",\"\",\"\",\"\x81\x9b\"\r\n");
}

TEST(Catalogue, AppendAfterAHandEditedTailRewritesTheFile) {
    for (const QByteArray& tail : {QByteArray(), QByteArray("\r\n\r\n")}) {
        TempFolder t;
        QByteArray data = Rec("A");
        if (tail.isEmpty()) data.chop(2);  // the last record without its line end
        data += tail;
        t.write(kData, data);
        WorkingFolder f(t.path());
        Catalogue c;
        ASSERT_TRUE(c.LoadTitleData(f).isOk());
        ASSERT_EQ(c.TitleCount, 1);
        ASSERT_TRUE(c.AppendTitle(f, QStringLiteral("B")).isOk());
        EXPECT_EQ(t.read(kData), Rec("A") + "\"B\",,,,,,,,,,,,,,,,,\"\"\r\n");
    }
}

TEST(Catalogue, SaveWithoutAndInOrder) {
    TempFolder t;
    t.write(kData, Rec("A") + Rec("B") + Rec("C"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    ASSERT_TRUE(c.SaveTitleDataWithout(f, 2).isOk());
    EXPECT_EQ(t.read(kData), Rec("A") + Rec("C"));
    EXPECT_FALSE(c.SaveTitleDataWithout(f, 4).isOk());
    ASSERT_TRUE(c.SaveTitleDataInOrder(f, {3, 1, 2}).isOk());
    EXPECT_EQ(t.read(kData), Rec("C") + Rec("A") + Rec("B"));
    EXPECT_FALSE(c.SaveTitleDataInOrder(f, {3, 1, 1}).isOk());
    EXPECT_FALSE(c.SaveTitleDataInOrder(f, {3, 1}).isOk());
    EXPECT_EQ(t.read(kData), Rec("C") + Rec("A") + Rec("B"));
}

// Text the file cannot hold is refused, the file is left as it was.
TEST(Catalogue, SaveRefusesTextTheFileCannotHold) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    for (const QString& bad :
         {QStringLiteral("引用\"符"), QStringLiteral("改\r\n行"), QStringLiteral("絵文字😀")}) {
        c.strKantoku[1] = bad;
        const store::Status s = c.SaveTitleData(f);
        ASSERT_FALSE(s.isOk());
        EXPECT_EQ(s.error().file, kData);
        EXPECT_EQ(t.read(kData), Rec("A"));
    }
    EXPECT_FALSE(c.AppendTitle(f, QStringLiteral("a\"b")).isOk());
    EXPECT_EQ(t.read(kData), Rec("A"));
}

// A malformed data file stops the load and is never written afterwards.
TEST(Catalogue, MalformedDataFileStopsTheLoadAndIsNeverWritten) {
    const QByteArray cases[] = {
        Rec("A") + "\"B\"x\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n",
        Rec("A") + "\"B\",\"\",\"\"\r\n",  // short last record
        Rec("A") + "\"B\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,x,0,0,0,0,\"\",\"\",\"\",\"\"\r\n",
        Rec("A") + "\"B\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,40000,0,0,0,0,\"\",\"\",\"\",\"\"\r\n",
        Rec("A") +
            B("\"\x85\x40\",\"\",\"\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\",\"\"\r\n"),
        Rec("A") + "\"B\r\n",
    };
    for (const QByteArray& data : cases) {
        TempFolder t;
        t.write(kData, data);
        WorkingFolder f(t.path());
        Catalogue c;
        const store::Status s = c.LoadTitleData(f);
        ASSERT_FALSE(s.isOk()) << data.toStdString();
        EXPECT_EQ(s.error().file, kData);
        EXPECT_EQ(s.error().line, 2) << data.toStdString();
        EXPECT_TRUE(s.error().message().contains(QStringLiteral("2 行目")));
        EXPECT_FALSE(c.IsLoaded());
        EXPECT_EQ(c.TitleCount, 0);
        EXPECT_TRUE(c.cboName.empty());
        EXPECT_FALSE(c.SaveTitleData(f).isOk());
        EXPECT_FALSE(c.AppendTitle(f, QStringLiteral("C")).isOk());
        // Even a catalogue that loads something else cannot write that file.
        EXPECT_TRUE(f.isUnwritable(kData));
        EXPECT_EQ(t.read(kData), data);
    }
}

QByteArray ManyRecords(int n) {
    QByteArray data;
    data.reserve(n * 30);
    for (int i = 1; i <= n; ++i) {
        data += "\"T" + QByteArray::number(i) + "\",,,,,,,,,,,,,,,,,\"\"\r\n";
    }
    return data;
}

// At most 32766 titles; one more is refused, a file with more stops.
TEST(Catalogue, HoldsAtMost32766Titles) {
    TempFolder t;
    t.write(kData, ManyRecords(32766));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 32766);
    EXPECT_EQ(c.ScrollMaximum(), 32766);
    EXPECT_EQ(c.IndexOf(QStringLiteral("T32766")), 32766);
    const QByteArray before = t.read(kData);
    const store::Status s = c.AppendTitle(f, QStringLiteral("one more"));
    ASSERT_FALSE(s.isOk());
    EXPECT_TRUE(s.error().reason.contains(QStringLiteral("32766")));
    EXPECT_EQ(t.read(kData), before);

    TempFolder t2;
    t2.write(kData, ManyRecords(32767));
    WorkingFolder f2(t2.path());
    Catalogue c2;
    const store::Status s2 = c2.LoadTitleData(f2);
    ASSERT_FALSE(s2.isOk());
    EXPECT_EQ(s2.error().line, 32767);
    EXPECT_EQ(c2.TitleCount, 0);
    EXPECT_FALSE(c2.SaveTitleData(f2).isOk());
}

// A save that fails for lack of space.
TEST(Catalogue, FailedSaveLeavesTheOldFileAndReportsTheReason) {
    TempFolder t;
    t.write(kData, Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    c.strKantoku[1] = QString(1000, QChar(u'監'));  // 2000 bytes, the longest a field holds
    store::Status s;
    {
        FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.ok());
        s = c.SaveTitleData(f);
    }
    ASSERT_FALSE(s.isOk());
    EXPECT_TRUE(s.error().message().contains(QStringLiteral("「データ.TXT」")));
    EXPECT_TRUE(s.error().reason.contains(QString::fromLocal8Bit(strerror(EFBIG))));
    EXPECT_EQ(t.read(kData), Rec("A"));
    EXPECT_EQ(t.entries(), QStringList{kData});
}

TEST(Catalogue, FindsTheDataFileUnderAnotherSpelling) {
    TempFolder t;
    t.write(QStringLiteral("データ.txt"), Rec("A"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 1);
    ASSERT_TRUE(c.SaveTitleData(f).isOk());
    EXPECT_EQ(t.entries(), QStringList{QStringLiteral("データ.txt")});
}

}  // namespace

namespace {

// A reload overwrites the arrays' strings in place only where nothing else
// holds them: copies taken before keep their value.
TEST(Catalogue, ReloadKeepsCopiesTakenBeforeAndResizesTheArrays) {
    TempFolder t;
    t.write(kData, Rec("A", "d1", "s1") + Rec("B", "d2") + Rec("C", "d3"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    const QString keptName = c.strDaimei[2];
    const QString keptDirector = c.strKantoku[1];
    const std::vector<QString> keptList = c.cboKantoku.items();
    t.write(kData, Rec("XY", "e1") + Rec("Z"));
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(keptName, QStringLiteral("B"));
    EXPECT_EQ(keptDirector, QStringLiteral("d1"));
    EXPECT_EQ(keptList, Strings({"d1", "d2", "d3"}));
    EXPECT_EQ(c.TitleCount, 2);
    EXPECT_EQ(c.strDaimei, Strings({"", "XY", "Z"}));
    EXPECT_EQ(c.strKantoku, Strings({"", "e1", ""}));
    EXPECT_EQ(c.strSyuen, Strings({"", "", ""}));
    EXPECT_EQ(c.intTensu.size(), 3u);
    EXPECT_EQ(c.strSyoyu.size(), 3u);
    EXPECT_EQ(c.cboName, Strings({"XY", "Z"}));
    EXPECT_EQ(c.cboKantoku.items(), Strings({"e1"}));
    EXPECT_EQ(c.IndexOf(QStringLiteral("B")), 0);
    EXPECT_EQ(c.IndexOf(QStringLiteral("Z")), 2);
    // And growing again.
    t.write(kData, Rec("1") + Rec("2") + Rec("3") + Rec("4"));
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.strDaimei, Strings({"", "1", "2", "3", "4"}));
    // A failed reload leaves an empty catalogue.
    t.write(kData, Rec("1") + "\"2\r\n");
    EXPECT_FALSE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.TitleCount, 0);
    EXPECT_EQ(c.strDaimei.size(), 1u);
    EXPECT_TRUE(c.cboName.empty());
}

TEST(Catalogue, IndexOfFollowsRenamesInTheArrays) {
    TempFolder t;
    t.write(kData, Rec("A") + Rec("B"));
    WorkingFolder f(t.path());
    Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    c.strDaimei[1] = QStringLiteral("A2");
    EXPECT_EQ(c.IndexOf(QStringLiteral("A")), 0);
    EXPECT_EQ(c.IndexOf(QStringLiteral("A2")), 1);
    EXPECT_EQ(c.IndexOf(QStringLiteral("B")), 2);
}

}  // namespace
