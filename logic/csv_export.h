#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace logic {

// A table as a CSV file a spreadsheet program opens with its Japanese intact:
// UTF-8 with a byte-order mark, the fields separated by commas, a field that
// holds a comma, a double quote or a line break quoted (its quotes doubled),
// and every row, the last one too, ended by CR LF. The rows in the order
// given.
QByteArray CsvBytes(const std::vector<QStringList>& rows);

// The name a list is first offered under: the screen's name and the day,
// "主一覧_20261208.csv".
QString CsvFileName(const QString& screenName, const QDate& day);

}  // namespace logic
