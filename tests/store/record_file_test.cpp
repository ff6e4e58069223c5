#include "store/record_file.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

using store::Field;
using store::RecordReader;
using store::RecordWriter;
using testsupport::B;
using testsupport::Hex;

namespace {

QByteArray Written(RecordWriter& w) {
    QByteArray bytes;
    EXPECT_TRUE(w.finish(bytes).isOk());
    return bytes;
}

TEST(RecordWriter, SettingsRecordIsByteExact) {
    RecordWriter w(QStringLiteral("設定.TXT"));
    w.WriteRecord({Field::Text(QStringLiteral("ヘルプツアー")), Field::Integer(1)});
    EXPECT_EQ(Written(w), Hex("22 83 77 83 8B 83 76 83 63 83 41 81 5B 22 2C 31 0D 0A"));
}

TEST(RecordWriter, NewTitleRecordHasSeventeenCommasAndAnEmptyText) {
    RecordWriter w(QStringLiteral("データ.TXT"));
    std::vector<Field> f{Field::Text(QStringLiteral("A"))};
    for (int i = 2; i <= 17; ++i) f.push_back(Field::Absent());
    f.push_back(Field::Text(QString()));
    w.WriteRecord(f);
    EXPECT_EQ(Written(w), QByteArray("\"A\",,,,,,,,,,,,,,,,,\"\"\r\n"));
}

TEST(RecordWriter, IntegersAreBare) {
    RecordWriter w(QStringLiteral("x"));
    w.WriteRecord(
        {Field::Integer(0), Field::Integer(-32768), Field::Integer(32767), Field::Integer(-5)});
    EXPECT_EQ(Written(w), QByteArray("0,-32768,32767,-5\r\n"));
}

TEST(RecordWriter, RefusesTextTheFileCannotHold) {
    for (const QString& bad : {QStringLiteral("a\"b"), QStringLiteral("a\r\nb"),
                               QStringLiteral("a\nb"), QStringLiteral("😀")}) {
        RecordWriter w(QStringLiteral("データ.TXT"));
        w.WriteRecord({Field::Text(QStringLiteral("ok"))});
        w.WriteRecord({Field::Text(bad), Field::Integer(1)});
        QByteArray bytes("untouched");
        const store::Status s = w.finish(bytes);
        ASSERT_FALSE(s.isOk()) << bad.toStdString();
        EXPECT_TRUE(bytes.isEmpty());
        EXPECT_EQ(s.error().file, QStringLiteral("データ.TXT"));
        EXPECT_EQ(s.error().line, 2);
    }
}

TEST(RecordWriter, RefusesIntegersOutside16Bits) {
    RecordWriter w(QStringLiteral("x"));
    w.WriteRecord({Field::Integer(32768)});
    QByteArray bytes;
    EXPECT_FALSE(w.finish(bytes).isOk());
    RecordWriter w2(QStringLiteral("x"));
    w2.WriteRecord({Field::Integer(-32769)});
    EXPECT_FALSE(w2.finish(bytes).isOk());
}

TEST(RecordWriter, WritesWindowsOnlyCharactersWithTheirCp932Bytes) {
    RecordWriter w(QStringLiteral("x"));
    w.WriteRecord({Field::Text(QString::fromUtf16(u"\uFF5E\uFF0D\u2460\u3231"))});
    EXPECT_EQ(Written(w), Hex("22 81 60 81 7C 87 40 87 8A 22 0D 0A"));
}

TEST(RecordWriter, PrintLineWritesTheTextAndCrLf) {
    RecordWriter w(QStringLiteral("メモ_A.txt"));
    w.PrintLine(QStringLiteral("一行目\r\n\"二\",行目"));
    EXPECT_EQ(Written(w), B("\x88\xea\x8d\x73\x96\xda\r\n\"\x93\xf1\",\x8d\x73\x96\xda\r\n"));
}

TEST(RecordReader, ZeroByteFileIsAtEndAtOnce) {
    RecordReader r(QStringLiteral("x"), QByteArray());
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.AtEndOfText());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, ReadsTheSettingsRecord) {
    RecordReader r(QStringLiteral("設定.txt"),
                   Hex("22 83 77 83 8B 83 76 83 63 83 41 81 5B 22 2C 30 0D 0A"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

// The texts read share the decoded file: each stays whole and ends with the
// mark Qt's strings carry after the reader is gone, and a change to one
// reaches no other.
TEST(RecordReader, TextsReadStandOnTheirOwn) {
    std::vector<QString> texts;
    {
        RecordReader r(QStringLiteral("x"), QByteArray("\"ab\",cd ,\"ef\"\r\ngh"));
        for (int i = 0; i < 4; ++i) texts.push_back(r.ReadText());
        EXPECT_TRUE(r.AtEnd());
    }
    ASSERT_EQ(texts, (std::vector<QString>{"ab", "cd", "ef", "gh"}));
    for (const QString& t : texts) EXPECT_EQ(t.utf16()[t.size()], 0);
    texts[0] += QStringLiteral("XYZ");
    texts[1][0] = u'C';
    EXPECT_EQ(texts, (std::vector<QString>{"abXYZ", "Cd", "ef", "gh"}));

    // A text far into a large file grows at its own size, not the file's.
    QByteArray many;
    for (int i = 0; i < 20000; ++i) many += "\"abcdefgh\"\r\n";
    RecordReader big(QStringLiteral("x"), many + "\"last\"\r\n");
    for (int i = 0; i < 20000; ++i) (void)big.ReadText();
    QString last = big.ReadText();
    last += u'!';
    EXPECT_EQ(last, QStringLiteral("last!"));
    EXPECT_LT(last.capacity(), 1000);
}

TEST(RecordReader, QuotedCommaThenInteger) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"a, b\",12\r\n"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("a, b"));
    EXPECT_EQ(r.ReadInteger(), 12);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, AbsentFieldsReadAsEmptyAndZero) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"A\",,,\"\"\r\n"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("A"));
    EXPECT_EQ(r.ReadText(), QString());
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_EQ(r.ReadText(), QString());
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, NewTitleRecordReadsAsEmptyTextsAndZeros) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"A\",,,,,,,,,,,,,,,,,\"\"\r\n"));
    EXPECT_EQ(r.ReadText(), QStringLiteral("A"));
    for (int i = 2; i <= 7; ++i) EXPECT_EQ(r.ReadText(), QString());
    for (int i = 8; i <= 14; ++i) EXPECT_EQ(r.ReadInteger(), 0);
    for (int i = 15; i <= 18; ++i) EXPECT_EQ(r.ReadText(), QString());
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, RecordSplitOverLinesAndTwoOnOneLine) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"a\",1\r\n\"b\"\r\n2\r\n\"c\",3,\"d\",4\r\n"));
    const char* names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_FALSE(r.AtEnd());
        EXPECT_EQ(r.ReadText(), QString::fromLatin1(names[i]));
        EXPECT_EQ(r.ReadInteger(), i + 1);
    }
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, SpacesAroundValuesAndAfterClosingQuote) {
    RecordReader r(QStringLiteral("x"), QByteArray("  \" a \" \t, 7  ,abc \r\n"));
    EXPECT_EQ(r.ReadText(), QStringLiteral(" a "));
    EXPECT_EQ(r.ReadInteger(), 7);
    EXPECT_EQ(r.ReadText(), QStringLiteral("abc"));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, LoneCrAndLoneLfEndAFieldLine) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"a\"\r1\n\"b\""));
    EXPECT_EQ(r.ReadText(), QStringLiteral("a"));
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadText(), QStringLiteral("b"));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, AtEndAfterLastRecordEndingWithOneCrLf) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"a\",1\r\n"));
    EXPECT_FALSE(r.AtEnd());
    r.ReadText();
    EXPECT_FALSE(r.AtEnd());
    r.ReadInteger();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.AtEndOfText());
}

TEST(RecordReader, BlankLinesAtTheVeryEndArePassedOver) {
    RecordReader r(QStringLiteral("x"), QByteArray("\"a\",1\r\n\r\n\r\n  \r\n"));
    r.ReadText();
    r.ReadInteger();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, ReadsWindowsOnlyCharacters) {
    RecordReader r(QStringLiteral("x"), Hex("22 81 60 81 7C 87 40 87 8A ED 40 22 0D 0A"));
    EXPECT_EQ(r.ReadText(), QString::fromUtf16(u"\uFF5E\uFF0D\u2460\u3231\u7E8A"));
    EXPECT_FALSE(r.failed());
}

// Malformed files stop the load with the file, the line and the reason.
struct Malformed {
    const char* bytes;
    int line;
};

class RecordReaderMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(RecordReaderMalformed, FailsWithTheLine) {
    RecordReader r(QStringLiteral("データ.TXT"), QByteArray(GetParam().bytes));
    for (int i = 0; i < 10 && !r.failed() && !r.AtEnd(); ++i) {
        r.ReadText();
        r.ReadInteger();
    }
    ASSERT_TRUE(r.failed()) << GetParam().bytes;
    EXPECT_EQ(r.status().error().file, QStringLiteral("データ.TXT"));
    EXPECT_EQ(r.status().error().line, GetParam().line) << GetParam().bytes;
    EXPECT_FALSE(r.status().error().reason.isEmpty());
    // The reader stays failed.
    EXPECT_EQ(r.ReadText(), QString());
    EXPECT_TRUE(r.failed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordReaderMalformed,
    ::testing::Values(Malformed{"\"a\",1\r\n\"b\"c\",2\r\n", 2},    // stray quote after text
                      Malformed{"\"a\",1\r\n\"b,2\r\n", 2},         // quote not closed on its line
                      Malformed{"\"a\",1\r\n\"b\r\nc\",2\r\n", 2},  // line end inside quotes
                      Malformed{"\"a\",1\r\nb\"c,2\r\n", 2},        // quote inside a bare value
                      Malformed{"\"a\",x\r\n", 1},                  // non-numeric integer
                      Malformed{"\"a\",1\r\n\r\n\"b\",32768\r\n", 3},  // out of range
                      Malformed{"\"a\",-32769\r\n", 1}, Malformed{"\"a\",1.5\r\n", 1},
                      Malformed{"\"a\",1\r\n\"b\"\r\n", 2},          // last record short
                      Malformed{"\"a\",\"", 1},                      // text cut at end
                      Malformed{"\"a\",1\r\n\"\x85\x40\",2\r\n", 2}  // not CP932
                      ));

TEST(RecordReader, IntegerLimits) {
    RecordReader r(QStringLiteral("x"), QByteArray("-32768,32767,+5,\r\n"));
    EXPECT_EQ(r.ReadInteger(), -32768);
    EXPECT_EQ(r.ReadInteger(), 32767);
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_FALSE(r.failed());
    EXPECT_TRUE(r.AtEnd());
}

TEST(RecordReader, ReadingPastTheEndFails) {
    RecordReader r(QStringLiteral("x"), QByteArray("1\r\n"));
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_TRUE(r.failed());
}

TEST(RecordReader, ReadLineEndsAtCrAndCrLfButNotAtLoneLf) {
    RecordReader r(QStringLiteral("x"), QByteArray("one\r\ntwo\rthree\nstill three\r\nlast"));
    EXPECT_EQ(r.ReadLine(), QStringLiteral("one"));
    EXPECT_EQ(r.ReadLine(), QStringLiteral("two"));
    EXPECT_EQ(r.ReadLine(), QStringLiteral("three\nstill three"));
    EXPECT_FALSE(r.AtEndOfText());
    EXPECT_EQ(r.ReadLine(), QStringLiteral("last"));
    EXPECT_TRUE(r.AtEndOfText());
    EXPECT_FALSE(r.failed());
}

TEST(RecordReader, ReadLineOfEmptyLines) {
    RecordReader r(QStringLiteral("x"), QByteArray("a\r\n\r\n"));
    EXPECT_EQ(r.ReadLine(), QStringLiteral("a"));
    EXPECT_EQ(r.ReadLine(), QString());
    EXPECT_TRUE(r.AtEndOfText());
}

TEST(RecordReader, MultiLinePrintLineRoundTrip) {
    const QString text = QStringLiteral("一行目\r\n\r\n三行目 \"引用\", 以上\r\n～①");
    RecordWriter w(QStringLiteral("キャスト_A.txt"));
    w.PrintLine(text);
    const QByteArray bytes = Written(w);
    RecordReader r(QStringLiteral("キャスト_A.txt"), bytes);
    QString back;
    while (!r.AtEndOfText()) back += r.ReadLine() + QStringLiteral("\r\n");
    back.chop(2);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(back, text);
}

TEST(RecordReader, LineNumbersCountEveryKindOfLineEnd) {
    RecordReader r(QStringLiteral("x"), QByteArray("1\r\n2\r3\n4\r\nx\r\n"));
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(r.ReadInteger(), i);
    EXPECT_EQ(r.line(), 5);
    r.ReadInteger();
    ASSERT_TRUE(r.failed());
    EXPECT_EQ(r.status().error().line, 5);
}

TEST(RecordReader, OpenReportsAMissingFile) {
    testsupport::TempFolder t;
    store::WorkingFolder folder(t.path());
    RecordReader r = RecordReader::open(folder, QStringLiteral("無い.txt"));
    EXPECT_TRUE(r.failed());
    t.write(QStringLiteral("有る.txt"), QByteArray("\"a\"\r\n"));
    RecordReader r2 = RecordReader::open(folder, QStringLiteral("有る.TXT"));
    EXPECT_FALSE(r2.failed());
    EXPECT_EQ(r2.ReadText(), QStringLiteral("a"));
}

TEST(StoreError, MessageNamesFileLineAndReason) {
    store::StoreError e{QStringLiteral("データ.TXT"), 12, QStringLiteral("理由")};
    EXPECT_TRUE(e.message().contains(QStringLiteral("「データ.TXT」")));
    EXPECT_TRUE(e.message().contains(QStringLiteral("12 行目")));
    EXPECT_TRUE(e.message().contains(QStringLiteral("理由")));
    store::StoreError e0{QStringLiteral("設定.TXT"), 0, QStringLiteral("理由")};
    EXPECT_FALSE(e0.message().contains(QStringLiteral("行目")));
}

}  // namespace
