#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "store/status.h"

namespace logic {

// A CSV file as read: the header row and the rows under it, each with the
// line of the file it starts on.
struct CsvTable {
    QStringList header;
    std::vector<QStringList> rows;
    std::vector<int> lines;
    // Every character is one CP932 holds as it is.
    bool plainCp932 = false;
};

// Reads a CSV file: UTF-8 (with or without a byte-order mark), else CP932,
// each decoded strictly; fields separated by commas or tabs (whichever the
// first line holds more of), quoted fields with doubled quotes and line
// breaks inside them. The first row is the header; blank lines are passed
// over. A file that does not decode or whose quotes do not close is refused
// with its first bad line.
store::Status ReadCsv(const QByteArray& bytes, const QString& fileName, CsvTable& out);

}  // namespace logic
