#include "logic/lookup_fill.h"

#include <gtest/gtest.h>

using logic::DecideFill;
using logic::LookupTexts;

TEST(LookupFill, EmptyFieldsAreTakenFullOnesOfferedAndUnholdableOnesRefused) {
    const LookupTexts current = {QStringLiteral("黒澤明"),       "", "",
                                 QStringLiteral("日本"),         "", "",
                                 QStringLiteral("前のあらすじ"), ""};
    const LookupTexts found = {QStringLiteral("宮崎駿、高畑勲"),
                               QStringLiteral("Audrey Tautou"),
                               "2001/07",
                               QStringLiteral("フランス"),
                               QString(1001, u'劇'),
                               QStringLiteral("Amélie（アメリ）"),
                               QStringLiteral("新しい\nあらすじ"),
                               ""};
    const auto rows = DecideFill(current, found);
    struct Want {
        bool checkable, checked;
        const char* refusal;
    };
    const Want want[] = {
        {true, false, ""},                             // 監督: full
        {true, true, ""},                              // 主演: empty
        {true, true, ""},                              // 公開日
        {true, false, ""},                             // 国: full
        {false, false, "長すぎます"},                  // ジャンル: over the record's length
        {false, false, "保存できない文字を含みます"},  // キャスト: é has no CP932 form
        {true, false, ""},                             // あらすじ: full, lines kept
        {false, false, ""},                            // 画像: none found
    };
    for (int k = 0; k < logic::kLookupFields; ++k) {
        EXPECT_EQ(rows[k].checkable, want[k].checkable) << k;
        EXPECT_EQ(rows[k].checked, want[k].checked) << k;
        EXPECT_EQ(rows[k].refusal, QString::fromUtf8(want[k].refusal)) << k;
    }
    EXPECT_EQ(rows[6].value, QStringLiteral("新しい\nあらすじ"));
    // A double quote cannot be held by a record field either.
    EXPECT_EQ(DecideFill({}, {QStringLiteral("\"X\"")})[0].refusal,
              QStringLiteral("保存できない文字を含みます"));
}

TEST(LookupFill, CountryNamesComeFromIcuInJapanese) {
    EXPECT_EQ(logic::JapaneseCountryName("JP"), QStringLiteral("日本"));
    EXPECT_EQ(logic::JapaneseCountryName("US"), QStringLiteral("アメリカ合衆国"));
    EXPECT_EQ(logic::JapaneseCountryName("FR"), QStringLiteral("フランス"));
    EXPECT_EQ(logic::JapaneseCountryName(""), QString());
}
