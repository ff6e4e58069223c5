#include "logic/csv_columns.h"

#include "logic/csv_import.h"
#include "store/marks.h"
#include "store/text_check.h"

namespace logic {
namespace {

// The full-width forms of the characters a title may not hold, in their
// order; CP932 holds each and a file name accepts it.
constexpr QStringView kFullWidthForms = u"＼／：，；＊？”＜＞｜";
static_assert(kFullWidthForms.size() == store::kForbiddenInTitle.size());

// The full-width form of a character a title may not hold; a null QChar for
// any other.
QChar FullWidthOf(QChar c) {
    if (!store::IsForbiddenInTitle(c)) return {};
    return kFullWidthForms.at(store::kForbiddenInTitle.indexOf(c));
}

bool IsListSeparator(QChar c) {
    return c == u'|' || c == u';' || c == u'、';
}

int DigitOf(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'０' && c <= u'９') return c.unicode() - u'０';
    return -1;
}

// The first value of a list cell; the note when there were more.
int TakeFirst(QString& v, int note) {
    if (!IsCellList(v)) return 0;
    const QStringList values = CellValues(v);
    v = values.value(0);
    return values.size() > 1 ? note : 0;
}

}  // namespace

QString FullWidthTitle(const QString& title) {
    QString out = title;
    for (QChar& c : out) {
        if (const QChar wide = FullWidthOf(c); !wide.isNull()) c = wide;
    }
    return out;
}

bool IsCellList(QStringView cell) {
    for (QChar c : cell) {
        if (IsListSeparator(c)) return true;
    }
    return false;
}

QStringList CellValues(QStringView cell) {
    QStringList values;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= cell.size(); ++i) {
        if (i < cell.size() && !IsListSeparator(cell.at(i))) continue;
        const QStringView v = cell.mid(start, i - start).trimmed();
        if (!v.isEmpty()) values << v.toString();
        start = i + 1;
    }
    return values;
}

std::vector<CastMember> CastMembers(QStringView cell) {
    std::vector<CastMember> members;
    for (const QString& entry : CellValues(cell)) {
        const qsizetype colon = entry.indexOf(u':');
        if (colon < 0) {
            members.push_back({entry, {}});
            continue;
        }
        // Tellico writes its table columns apart with "::" too.
        QStringView role = QStringView(entry).mid(colon + 1);
        while (role.startsWith(u':')) role = role.mid(1);
        const QStringView name = QStringView(entry).first(colon).trimmed();
        if (!name.isEmpty()) members.push_back({name.toString(), role.trimmed().toString()});
    }
    return members;
}

QString CastText(const QString& cell) {
    if (!IsCellList(cell) && !cell.contains(u':')) return cell;
    QStringList lines;
    for (const CastMember& m : CastMembers(cell)) {
        lines << (m.role.isEmpty() ? m.name : m.name + u'（' + m.role + u'）');
    }
    return lines.join(store::marks::kLineEnd);
}

QString WithCrLf(const QString& text) {
    if (!text.contains(u'\n') && !text.contains(u'\r')) return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out += store::marks::kLineEnd;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<int> ReleaseYear(QStringView release) {
    if (release.size() < 4) return std::nullopt;
    int year = 0;
    for (int k = 0; k < 4; ++k) {
        const int d = DigitOf(release.at(k));
        if (d < 0) return std::nullopt;
        year = year * 10 + d;
    }
    return year;
}

QString TitleWithYear(const QString& title, int year) {
    return title + QStringLiteral(" (") + QString::number(year).rightJustified(4, u'0') + u')';
}

QStringList CastColumnNames() {
    return {QStringLiteral("キャスト")};
}

QStringList PlotColumnNames() {
    return {QStringLiteral("Plot Summary"), QStringLiteral("Plot"),
            QStringLiteral("Synopsis"),     QStringLiteral("Overview"),
            QStringLiteral("Description"),  QStringLiteral("あらすじ")};
}

QStringList MemoColumnNames() {
    return {QStringLiteral("Comments"), QStringLiteral("Notes"), QStringLiteral("Review"),
            QStringLiteral("メモ"), QStringLiteral("感想")};
}

int TakeLists(QStringList& f) {
    if (IsCellList(f[1])) f[1] = CellValues(f[1]).join(u'、');
    int notes = 0;
    if (IsCellList(f[2]) || f[2].contains(u':')) {
        const std::vector<CastMember> cast = CastMembers(f[2]);
        f[2] = cast.empty() ? QString() : cast.front().name;
        if (cast.size() > 1) notes |= LeadCut;
    }
    return notes | TakeFirst(f[4], CountryCut) | TakeFirst(f[5], GenreCut);
}

QString ImportNoteText(int notes) {
    static const std::pair<int, const char16_t*> texts[] = {
        {TitleMadeFullWidth, u"使えない文字を全角に置き換え"},
        {YearAddedToTitle, u"同名の別作品のため公開年を付加"},
        {LeadCut, u"主演は先頭の 1 人のみ"},
        {CountryCut, u"国は先頭の値のみ"},
        {GenreCut, u"ジャンルは先頭の値のみ"},
        {SideTextLeftOut, u"保存できない文字のあるテキストは書かない"},
    };
    QStringList said;
    for (const auto& [bit, text] : texts) {
        if (notes & bit) said << QString::fromUtf16(text);
    }
    return said.join(u'、');
}

}  // namespace logic
