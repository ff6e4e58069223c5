#include "store/text_check.h"

#include <gtest/gtest.h>

#include "store/dates.h"

using store::CheckLineText;
using store::CheckRecordText;

namespace {

TEST(TextCheck, PlainTextIsFine) {
    const auto c = CheckRecordText(QStringLiteral("七人の侍, 黒澤明 ①㈱"));
    EXPECT_TRUE(c.ok());
    EXPECT_EQ(c.text, QStringLiteral("七人の侍, 黒澤明 ①㈱"));
}

// A double quote, a line end or a character outside CP932 is refused.
TEST(TextCheck, RecordTextRefusesQuotesLineEndsAndCharactersOutsideCp932) {
    const auto c = CheckRecordText(QStringLiteral("a\"b\r\nc😀d\"한\n"));
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.refused, QStringLiteral("\"\n😀한"));
    EXPECT_EQ(c.warning(), QStringLiteral("次の文字はファイルに保存できないため使えません："
                                          "「\"」「改行」「😀」「한」"));
    EXPECT_EQ(store::InputCheck::warningTitle(), QStringLiteral("入力制限"));
}

TEST(TextCheck, LineTextMayHoldQuotesAndLineEnds) {
    const auto c = CheckLineText(QStringLiteral("\"引用\"\r\n次の行"));
    EXPECT_TRUE(c.ok());
    const auto d = CheckLineText(QStringLiteral("\"引用\"\r\né"));
    EXPECT_FALSE(d.ok());
    EXPECT_EQ(d.refused, QStringLiteral("é"));
}

TEST(TextCheck, ReturnsTheNormalisedText) {
    const auto c =
        CheckRecordText(QString::fromUtf16(u"A\u301CB\u2212C\u2016\u00A2\u00A3\u00AC\u2014"));
    EXPECT_TRUE(c.ok());
    EXPECT_EQ(c.text, QString::fromUtf16(u"A\uFF5EB\uFF0DC\u2225\uFFE0\uFFE1\uFFE2\u2015"));
    EXPECT_EQ(CheckLineText(QString::fromUtf16(u"\u301C")).text, QString::fromUtf16(u"\uFF5E"));
}

// The eleven characters file names and quoted fields cannot hold; their
// full-width forms and the rest of the text are fine.
TEST(TextCheck, ATitleMayNotHoldElevenCharacters) {
    const QString forbidden = QStringLiteral("\\/:,;*?\"<>|");
    for (QChar c : forbidden) {
        EXPECT_TRUE(store::IsForbiddenInTitle(c)) << int(c.unicode());
        EXPECT_TRUE(store::HasForbiddenInTitle(QStringLiteral("七人") + c + u'侍'));
    }
    for (QChar c : QStringLiteral("＼／：，；＊？”＜＞｜.-_'()!&%#[]{}=+~`@$^ 　、。"))
        EXPECT_FALSE(store::IsForbiddenInTitle(c)) << int(c.unicode());
    EXPECT_FALSE(store::HasForbiddenInTitle(QStringLiteral("七人の侍 (1954)")));
    EXPECT_FALSE(store::HasForbiddenInTitle(QString()));
}

TEST(Dates, ReleaseDates) {
    for (const char* ok :
         {"2004/07", "2004/7", "2004-07", "2004/7/5", "2004-07-05", "2004/02/29", "1899/12"}) {
        EXPECT_TRUE(store::IsReleaseDate(QString::fromLatin1(ok))) << ok;
    }
    for (const char* bad : {"2004", "200407", "20040705", "abc", "", "2004/13", "2004/0",
                            "2003/02/29", "2004/07/32", "2004/07-05", "04/07", "2004/", "2004/7/",
                            "2004/123", " 2004/07", "2004/07 ", "2004年7月"}) {
        EXPECT_FALSE(store::IsReleaseDate(QString::fromUtf8(bad))) << bad;
    }
}

TEST(Dates, ViewingDatesNeedTheDay) {
    EXPECT_TRUE(store::IsViewingDate(QStringLiteral("2004/7/5")));
    EXPECT_FALSE(store::IsViewingDate(QStringLiteral("2004/07")));
    EXPECT_FALSE(store::IsViewingDate(QStringLiteral("2004/02/30")));
    EXPECT_EQ(store::NormaliseViewingDate(QStringLiteral("2004/7/5")),
              QStringLiteral("2004/07/05"));
    EXPECT_EQ(store::NormaliseViewingDate(QStringLiteral("2004-12-31")),
              QStringLiteral("2004/12/31"));
    EXPECT_FALSE(store::NormaliseViewingDate(QStringLiteral("2004/12")));
}

}  // namespace
