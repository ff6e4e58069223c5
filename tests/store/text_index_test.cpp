#include "store/text_index.h"

#include <gtest/gtest.h>

#include <random>

#include "store/catalogue.h"
#include "tests/support/folder_helpers.h"

using store::detail::CompareIgnoringCase;

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// The fast comparison must give the sign of QString::compare(..., CaseInsensitive).
TEST(TextIndex, CompareIgnoringCaseAgreesWithQtOnEveryBmpUnit) {
    const QString probes[] = {QStringLiteral("a"),  QStringLiteral("A"),   QStringLiteral("ß"),
                              QStringLiteral("Ａ"), QStringLiteral("あ"),  QStringLiteral("ｱ"),
                              QStringLiteral("Σ"),  QStringLiteral("ς"),   QStringLiteral("İ"),
                              QStringLiteral("K"),  QString(QChar(0x212A))};
    for (char32_t c = 0; c < 0x10000; ++c) {
        const QString s(QChar(static_cast<char16_t>(c)));
        for (const QString& p : probes) {
            ASSERT_EQ(Sign(CompareIgnoringCase(s, p)),
                      Sign(QString::compare(s, p, Qt::CaseInsensitive)))
                << std::hex << int(c);
            ASSERT_EQ(Sign(CompareIgnoringCase(p + s, p)),
                      Sign(QString::compare(p + s, p, Qt::CaseInsensitive)))
                << std::hex << int(c);
        }
    }
}

std::vector<QString> RandomTexts(std::mt19937& rng, int n, bool surrogates) {
    const std::u16string alphabet = u"aAbBzZ09 _-ａＡｂＢあアｱ監督ßΣσςİıKkKµΜ～－①㈱";
    std::uniform_int_distribution<int> len(0, 6), pick(0, int(alphabet.size()) - 1), coin(0, 9);
    std::vector<QString> out;
    for (int i = 0; i < n; ++i) {
        QString s;
        const int l = len(rng);
        for (int k = 0; k < l; ++k) {
            if (surrogates && coin(rng) == 0) {
                s += QStringLiteral("😀");
            } else {
                s += QChar(alphabet[size_t(pick(rng))]);
            }
        }
        out.push_back(s);
    }
    return out;
}

TEST(TextIndex, StableSortEqualsQtStableSort) {
    std::mt19937 rng(7);
    for (bool surrogates : {false, true}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<QString> a = RandomTexts(rng, 500, surrogates);
            std::vector<QString> b = a;
            // Tag equal-comparing texts by their position, to see stability.
            std::vector<std::pair<QString, int>> tagged;
            for (size_t i = 0; i < a.size(); ++i) tagged.emplace_back(a[i], int(i));
            std::stable_sort(tagged.begin(), tagged.end(), [](const auto& x, const auto& y) {
                return QString::compare(x.first, y.first, Qt::CaseInsensitive) < 0;
            });
            store::detail::StableSortIgnoringCase(b);
            ASSERT_EQ(b.size(), tagged.size());
            for (size_t i = 0; i < b.size(); ++i) ASSERT_EQ(b[i], tagged[i].first) << i;
        }
    }
}

TEST(TextIndex, AssignDistinctEqualsInsertingOneByOne) {
    std::mt19937 rng(11);
    for (bool surrogates : {false, true}) {
        for (int round = 0; round < 20; ++round) {
            const std::vector<QString> values = RandomTexts(rng, 400, surrogates);
            store::SortedPickList one, bulk;
            for (const QString& v : values) {
                if (!one.contains(v)) one.insert(v);
            }
            std::vector<QString> copy = values;
            bulk.assignDistinct(std::move(copy));
            ASSERT_EQ(bulk.items(), one.items());
        }
    }
    // A long run of one value ignoring case, with exact duplicates in it.
    std::vector<QString> many;
    for (int i = 0; i < 1000; ++i)
        many.push_back(i % 3 ? QStringLiteral("abc") : QStringLiteral("ABC"));
    many.push_back(QStringLiteral("aBc"));
    store::SortedPickList l;
    l.assignDistinct(std::move(many));
    EXPECT_EQ(l.items(), (std::vector<QString>{QStringLiteral("ABC"), QStringLiteral("abc"),
                                               QStringLiteral("aBc")}));
}

// The catalogue's lookup by name is exact, and the first title of a name wins.
TEST(TextIndex, FindsExactTextsOnly) {
    testsupport::TempFolder t;
    QByteArray data =
        "\"a,b\",,,,,,,,,,,,,,,,,\"\"\r\n\"a\",,,,,,,,,,,,,,,,,\"\"\r\n"
        "\"a,b\",,,,,,,,,,,,,,,,,\"\"\r\n";
    for (int i = 0; i < 10000; ++i) {
        data += "\"" + QByteArray::number(i) + "\",,,,,,,,,,,,,,,,,\"\"\r\n";
    }
    t.write(store::kDataFile, data);
    store::WorkingFolder f(t.path());
    store::Catalogue c;
    ASSERT_TRUE(c.LoadTitleData(f).isOk());
    EXPECT_EQ(c.IndexOf(QStringLiteral("a,b")), 1);
    EXPECT_EQ(c.IndexOf(QStringLiteral("a")), 2);
    EXPECT_EQ(c.IndexOf(QStringLiteral("A")), 0);
    EXPECT_EQ(c.IndexOf(QStringLiteral("b")), 0);
    EXPECT_EQ(c.IndexOf(QStringLiteral("9999")), 9999 + 4);
}

}  // namespace
