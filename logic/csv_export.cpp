#include "logic/csv_export.h"

namespace logic {
namespace {

bool NeedsQuotes(const QString& field) {
    for (QChar c : field) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') return true;
    }
    return false;
}

}  // namespace

QByteArray CsvBytes(const std::vector<QStringList>& rows) {
    QString text;
    qsizetype size = 0;
    for (const QStringList& row : rows) {
        for (const QString& field : row) size += field.size() + 3;
        size += 2;
    }
    text.reserve(size);
    for (const QStringList& row : rows) {
        bool first = true;
        for (const QString& field : row) {
            if (!first) text += u',';
            first = false;
            if (NeedsQuotes(field)) {
                text += u'"';
                for (QChar c : field) {
                    if (c == u'"') text += u'"';
                    text += c;
                }
                text += u'"';
            } else {
                text += field;
            }
        }
        text += QLatin1StringView("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString CsvFileName(const QString& screenName, const QDate& day) {
    return screenName + u'_' + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
}

}  // namespace logic
