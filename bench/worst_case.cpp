#include "bench/worst_case.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <stdexcept>

#include "store/cp932.h"

namespace {

constexpr int kCount = 32766;

const char16_t* const kFamily[] = {u"山田", u"佐藤", u"鈴木", u"高橋", u"田中", u"渡辺", u"伊藤",
                                   u"中村", u"小林", u"加藤", u"吉田", u"山本", u"松本", u"井上",
                                   u"木村", u"林",   u"清水", u"山崎", u"森",   u"池田"};
const char16_t* const kGiven[] = {u"太郎", u"花子", u"健一", u"美咲", u"翔太",   u"陽子", u"大輔",
                                  u"由美", u"誠",   u"直樹", u"恵",   u"浩二",   u"智子", u"拓也",
                                  u"真理", u"隆",   u"彩",   u"修",   u"亜希子", u"剛"};
const char16_t* const kWords[] = {u"夜明け", u"約束", u"風",     u"海辺", u"記憶", u"旅路",
                                  u"星空",   u"嵐",   u"微笑み", u"迷宮", u"黄昏", u"奇跡",
                                  u"季節",   u"花火", u"影",     u"扉"};

QString S(const char16_t* s) {
    return QString::fromUtf16(s);
}

// Full-width digits of n, so that numbers read as Japanese text.
QString Wide(int n) {
    QString s = QString::number(n);
    for (QChar& c : s) c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

QString Person(int i, int salt) {
    return S(kFamily[(i * 7 + salt) % 20]) + S(kGiven[(i * 3 + salt * 5) % 20]) + Wide(i);
}

void WriteBytes(const QString& path, const QString& text) {
    const auto bytes = cp932::encode(text);
    if (!bytes) throw std::runtime_error("worst case text outside CP932");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(*bytes) != bytes->size()) {
        throw std::runtime_error("cannot write the worst case");
    }
}

QString Q(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

}  // namespace

QString WorstCaseTitle(int i) {
    return S(kWords[i % 16]) + QStringLiteral("の") + S(kWords[(i / 16) % 16]) +
           QStringLiteral("　第") + Wide(i) + QStringLiteral("章");
}

void WriteWorstCase(const QString& folderPath) {
    QDir().mkpath(folderPath);
    const char16_t* const ratings[] = {u"◎", u"○", u"△"};
    QString data;
    data.reserve(kCount * 120);
    for (int i = 1; i <= kCount; ++i) {
        const int year = 1000 + (i - 1) / 12;  // 32766 distinct months
        const int month = (i - 1) % 12 + 1;
        QString line;
        line += Q(WorstCaseTitle(i)) + QLatin1Char(',');
        line += Q(QStringLiteral("監督 ") + Person(i, 1)) + QLatin1Char(',');
        line += Q(Person(i, 2)) + QLatin1Char(',');
        line += Q(QStringLiteral("%1/%2")
                      .arg(year, 4, 10, QLatin1Char('0'))
                      .arg(month, 2, 10, QLatin1Char('0'))) +
                QLatin1Char(',');
        line += Q(QStringLiteral("共和国") + Wide(i)) + QLatin1Char(',');
        line += Q(QStringLiteral("ヒューマンドラマ") + Wide(i)) + QLatin1Char(',');
        line += Q(S(ratings[i % 3])) + QLatin1Char(',');
        line += QString::number(1 + i % 100);
        for (int k = 2; k <= 7; ++k) line += QLatin1Char(',') + QString::number(1 + (i + k) % 10);
        for (int k = 1; k <= 4; ++k) line += QStringLiteral(",\"○\"");
        line += QLatin1String("\r\n");
        data += line;
    }
    WriteBytes(folderPath + QStringLiteral("/データ.TXT"), data);

    QString history;
    history.reserve(kCount * 60);
    const QDate first(1930, 1, 1);
    for (int v = 1; v <= kCount; ++v) {
        const QDate d = first.addDays(v);
        const int title = 1 + (v * 7919) % kCount;
        history += Q(d.toString(QStringLiteral("yyyy/MM/dd"))) + QLatin1Char(',') +
                   Q(WorstCaseTitle(title)) + QLatin1Char(',') +
                   Q(QStringLiteral("映画館で鑑賞（") + Wide(v) + QStringLiteral("回目）")) +
                   QLatin1String("\r\n");
    }
    WriteBytes(folderPath + QStringLiteral("/鑑賞履歴.TXT"), history);

    WriteBytes(folderPath + QStringLiteral("/評価マスタ.txt"),
               QStringLiteral("\"総合\"\r\n\"感動・涙\"\r\n\"笑い\"\r\n\"ほのぼの\"\r\n"
                              "\"スリル\"\r\n\"恐怖戦慄\"\r\n\"セクシー\"\r\n"));
    WriteBytes(folderPath + QStringLiteral("/所有マスタ.txt"),
               QStringLiteral("\"ＤＶＤ\"\r\n\"ブルーレイ\"\r\n\"ビデオ\"\r\n\"配信\"\r\n"));
    WriteBytes(folderPath + QStringLiteral("/設定.TXT"), QStringLiteral("\"ヘルプツアー\",1\r\n"));
}

void WriteWorstCaseSideTexts(const QString& folderPath) {
    QDir().mkpath(folderPath);
    const char16_t* const prefixes[] = {u"キャスト_", u"あらすじ_", u"メモ_"};
    for (int i = 1; i <= kCount; ++i) {
        const QString title = WorstCaseTitle(i);
        const QString texts[] = {
            Person(i, 2) + QStringLiteral("（主人公）\r\n") + Person(i, 3) +
                QStringLiteral("（その友人）\r\n") + Person(i, 4) +
                QStringLiteral("（謎の男）\r\n"),
            QStringLiteral("ある夏の日、") + Person(i, 2) +
                QStringLiteral("は古い手紙を見つける。\r\nそこに書かれていた約束を果たすため、"
                               "遠い町へ旅に出る。\r\n"),
            QStringLiteral("%1 回目の鑑賞。音楽がとても良かった。\r\n").arg(i % 5 + 1),
        };
        for (int k = 0; k < 3; ++k) {
            WriteBytes(
                folderPath + QLatin1Char('/') + S(prefixes[k]) + title + QStringLiteral(".txt"),
                texts[k]);
        }
    }
}
