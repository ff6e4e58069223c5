#include "store/text_check.h"

#include "store/cp932.h"
#include "store/record_file.h"

namespace store {
namespace {

// The distinct characters of text for which refuse() holds, plus those outside
// CP932, in order of first appearance; CR and LF count as one line end.
template <typename Refuse>
QString collectRefused(const QString& text, Refuse refuse) {
    QString refused;
    bool lineEnd = false;
    const QString outside = cp932::unencodable(text);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) len = 2;
        const QChar c = text.at(i);
        if (len == 1 && (c == u'\r' || c == u'\n')) {
            if (refuse(c) && !lineEnd) {
                lineEnd = true;
                refused += QLatin1Char('\n');
            }
        } else {
            const QStringView ch = QStringView(text).mid(i, len);
            const bool bad =
                (len == 1 && refuse(c)) || (!outside.isEmpty() && outside.contains(ch));
            if (bad && !refused.contains(ch)) refused += ch;
        }
        i += len;
    }
    return refused;
}

}  // namespace

QString InputCheck::warning() const {
    if (refused.isEmpty()) return tooLong;
    QString list;
    const qsizetype n = refused.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype len = 1;
        if (refused.at(i).isHighSurrogate() && i + 1 < n && refused.at(i + 1).isLowSurrogate()) {
            len = 2;
        }
        const QChar c = refused.at(i);
        if (len == 1 && (c == u'\n' || c == u'\r')) {
            list += QStringLiteral("「改行」");
        } else {
            list += QStringLiteral("「") + refused.mid(i, len) + QStringLiteral("」");
        }
        i += len;
    }
    return QStringLiteral("次の文字はファイルに保存できないため使えません：") + list;
}

QString InputCheck::warningTitle() {
    return QStringLiteral("入力制限");
}

InputCheck CheckRecordText(const QString& text) {
    InputCheck check;
    check.text = cp932::normalise(text);
    check.refused =
        collectRefused(check.text, [](QChar c) { return c == u'"' || c == u'\r' || c == u'\n'; });
    if (check.text.size() > kMaxRecordText) {
        check.tooLong = QStringLiteral("入力できるのは %1 文字までです（%2 文字あります）。")
                            .arg(kMaxRecordText)
                            .arg(check.text.size());
    }
    return check;
}

InputCheck CheckLineText(const QString& text) {
    InputCheck check;
    check.text = cp932::normalise(text);
    check.refused = collectRefused(check.text, [](QChar) { return false; });
    return check;
}

bool IsForbiddenInTitle(QChar c) {
    return c.unicode() < 0x80 && kForbiddenInTitle.contains(c);
}

bool HasForbiddenInTitle(QStringView title) {
    for (QChar c : title) {
        if (IsForbiddenInTitle(c)) return true;
    }
    return false;
}

}  // namespace store
