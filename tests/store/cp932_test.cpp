#include "store/cp932.h"

#include <gtest/gtest.h>

#include "tests/support/folder_helpers.h"

using testsupport::Hex;

namespace {

QString U(char16_t c) {
    return QString(QChar(c));
}

TEST(Cp932, DecodesAndEncodesAsciiAndKana) {
    const QByteArray bytes = Hex("41 2C 83 65 83 58 83 67 B1");  // A,テストｱ
    const auto text = cp932::decode(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QStringLiteral("A,テストｱ"));
    EXPECT_EQ(cp932::encode(*text), bytes);
}

TEST(Cp932, WindowsMappingRoundTrips) {
    struct Case {
        const char* hex;
        char16_t ch;
    } cases[] = {
        {"81 60", 0xFF5E},  // ～ FULLWIDTH TILDE (JIS would give U+301C)
        {"81 7C", 0xFF0D},  // － FULLWIDTH HYPHEN-MINUS (JIS: U+2212)
        {"81 61", 0x2225},  // ∥ (JIS: U+2016)
        {"81 5C", 0x2015},  // ― (JIS: U+2014)
        {"81 91", 0xFFE0},  // ￠
        {"81 92", 0xFFE1},  // ￡
        {"81 CA", 0xFFE2},  // ￢
        {"87 40", 0x2460},  // ① NEC row 13
        {"87 8A", 0x3231},  // ㈱ NEC row 13
        {"87 5F", 0x3349},  // ㍉ NEC row 13
        {"FA 40", 0x2170},  // ⅰ IBM extension
        {"FA 5C", 0x7E8A},  // 纊 IBM extension
        {"FC 4B", 0x9ED1},  // 黑 last IBM extension character
    };
    for (const Case& c : cases) {
        const QByteArray bytes = Hex(c.hex);
        const auto text = cp932::decode(bytes);
        ASSERT_TRUE(text) << c.hex;
        EXPECT_EQ(*text, U(c.ch)) << c.hex;
        EXPECT_EQ(cp932::encode(*text), bytes) << c.hex;
    }
}

TEST(Cp932, NecSelectedIbmRowsReadAsTheSameCharactersAndAreWrittenUnderIbmRows) {
    // ED 40 (纊), EE EF (ⅰ), EE F9 (￢) are the NEC-selected copies of FA 5C,
    // FA 40 and 81 CA.
    const auto text = cp932::decode(Hex("ED 40 EE EF EE F9"));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QString::fromUtf16(u"\u7E8A\u2170\uFFE2"));
    EXPECT_EQ(cp932::encode(*text), Hex("FA 5C FA 40 81 CA"));
    // Read back, the characters stay the same.
    EXPECT_EQ(cp932::decode(*cp932::encode(*text)), text);
}

TEST(Cp932, DuplicatesOfNecRow13ReadAsTheSameCharacter) {
    const auto a = cp932::decode(Hex("87 9A"));  // ∵ NEC row 13 copy
    const auto b = cp932::decode(Hex("81 E6"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(cp932::encode(*a), Hex("81 E6"));
}

TEST(Cp932, RefusesBytesThatAreNotCp932AndTellsWhere) {
    qsizetype bad = -1;
    EXPECT_FALSE(cp932::decode(Hex("41 42 85 40"), &bad));  // 85 40 is unassigned
    EXPECT_EQ(bad, 2);
    bad = -1;
    EXPECT_FALSE(cp932::decode(Hex("41 82"), &bad));  // a lead byte cut at the end
    EXPECT_EQ(bad, 1);
    EXPECT_FALSE(cp932::decode(Hex("A0")));
    EXPECT_FALSE(cp932::decode(Hex("FD")));
}

TEST(Cp932, RefusesCharactersOutsideCp932) {
    EXPECT_FALSE(cp932::encode(QStringLiteral("abc😀")));
    EXPECT_FALSE(cp932::encode(QStringLiteral("한국")));
    EXPECT_FALSE(cp932::encode(QString::fromUtf16(u"\u00E9")));  // é
    EXPECT_FALSE(cp932::encode(QString(QChar(0xD800))));         // a lone surrogate
    EXPECT_EQ(cp932::unencodable(QStringLiteral("a😀b한😀c한é")), QStringLiteral("😀한é"));
    EXPECT_EQ(cp932::unencodable(QStringLiteral("日本語")), QString());
}

TEST(Cp932, EmptyText) {
    EXPECT_EQ(cp932::decode(QByteArray()), QString());
    EXPECT_EQ(cp932::encode(QString()), QByteArray());
}

// Each JIS-style character is written by iconv under the byte of another
// character; normalise gives the character those bytes read back as.
TEST(Cp932, NormaliseGivesWhatIconvReadsBack) {
    const char16_t jis[] = {0x301C, 0x2212, 0x2016, 0x00A2, 0x00A3, 0x00AC, 0x2014, 0x00A5, 0x203E};
    const char16_t back[] = {0xFF5E, 0xFF0D, 0x2225, 0xFFE0, 0xFFE1,
                             0xFFE2, 0x2015, 0x005C, 0x007E};
    for (size_t i = 0; i < std::size(jis); ++i) {
        const auto bytes = cp932::encode(U(jis[i]));
        ASSERT_TRUE(bytes) << std::hex << int(jis[i]);
        EXPECT_EQ(cp932::decode(*bytes), U(back[i])) << std::hex << int(jis[i]);
        EXPECT_EQ(cp932::normalise(U(jis[i])), U(back[i])) << std::hex << int(jis[i]);
        EXPECT_EQ(cp932::encode(U(back[i])), bytes);
    }
}

// Over the whole Basic Multilingual Plane: whatever encodes reads back as its
// normalised form, so text in memory after normalise equals text on disk.
TEST(Cp932, EveryEncodableCharacterReadsBackAsItsNormalisedForm) {
    int encodable = 0;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        const QString ch = U(static_cast<char16_t>(c));
        const auto bytes = cp932::encode(ch);
        if (!bytes) continue;
        ++encodable;
        ASSERT_EQ(cp932::decode(*bytes), cp932::normalise(ch)) << std::hex << int(c);
    }
    EXPECT_GT(encodable, 9000);
}

}  // namespace

namespace {

// Megabytes of lines of two-byte characters, large enough to be cut in two.
QByteArray LargeLines() {
    QByteArray line = Hex("82 A0 93 FA 96 7B 2C 41");  // あ日本,A
    line += "\r\n";
    QByteArray all;
    while (all.size() < (qsizetype(3) << 20)) all += line;
    return all;
}

}  // namespace

TEST(Cp932, LargeTextsConvertInHalvesAsTheyDoWhole) {
    QByteArray bytes = LargeLines();
    const std::optional<QString> whole = cp932::decode(bytes);
    ASSERT_TRUE(whole);
    EXPECT_EQ(cp932::decodeInHalves(bytes), whole);
    EXPECT_EQ(cp932::encodeInHalves(*whole), bytes);

    // A lead byte just before the line end where the cut falls, then a bad
    // byte further on: the first fault is told, at its offset in the whole.
    const qsizetype mid = bytes.indexOf('\n', bytes.size() / 2) - 1;
    QByteArray faulty = bytes;
    faulty[mid - 1] = char(0x82);
    faulty[faulty.size() - 3] = char(0xA0);
    qsizetype bad = -1;
    EXPECT_FALSE(cp932::decodeInHalves(faulty, &bad));
    EXPECT_EQ(bad, mid - 1);
    // Only the later fault, in the second half.
    faulty[mid - 1] = bytes[mid - 1];
    EXPECT_FALSE(cp932::decodeInHalves(faulty, &bad));
    EXPECT_EQ(bad, faulty.size() - 3);

    // A character outside CP932 in either half refuses the whole text.
    QString text = *whole;
    text[text.size() - 2] = QChar(0x00E9);
    EXPECT_FALSE(cp932::encodeInHalves(text));
    text = *whole;
    text[3] = QChar(0x00E9);
    EXPECT_FALSE(cp932::encodeInHalves(text));
}
