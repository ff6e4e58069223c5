#include "logic/csv_export.h"

#include <gtest/gtest.h>

namespace {

// The byte-order mark, fields quoted only where they must be (a comma, a
// quote, a line break), quotes doubled, CR LF after every row, the rows in the
// order given, Japanese as UTF-8.
TEST(CsvExport, BytesOfATable) {
    const std::vector<QStringList> rows = {
        {QStringLiteral("タイトル名"), QStringLiteral("監督")},
        {QStringLiteral("羅生門"), QStringLiteral("黒澤, 明")},
        {QStringLiteral("\"七人\"の侍"), QStringLiteral("一行目\r\n二行目")},
        {QStringLiteral("A"), QStringLiteral("b\nc")},
        {QString(), QStringLiteral(" x ")},
    };
    const QByteArray expected =
        QByteArray("\xEF\xBB\xBF") + QStringLiteral(
                                         "タイトル名,監督\r\n"
                                         "羅生門,\"黒澤, 明\"\r\n"
                                         "\"\"\"七人\"\"の侍\",\"一行目\r\n二行目\"\r\n"
                                         "A,\"b\nc\"\r\n"
                                         ", x \r\n")
                                         .toUtf8();
    EXPECT_EQ(logic::CsvBytes(rows), expected);
    // Nothing but the mark for no rows.
    EXPECT_EQ(logic::CsvBytes({}), QByteArray("\xEF\xBB\xBF"));
}

TEST(CsvExport, FileNameIsTheScreenAndTheDay) {
    EXPECT_EQ(logic::CsvFileName(QStringLiteral("主一覧"), QDate(2026, 1, 2)),
              QStringLiteral("主一覧_20260102.csv"));
}

}  // namespace
