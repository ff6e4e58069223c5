#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <functional>
#include <initializer_list>
#include <vector>

#include "store/status.h"
#include "store/working_folder.h"

namespace store {

// The longest text of a record (a title, a field, a viewing, an item name).
// A longer one in a file is damage; side texts have no such limit.
inline constexpr qsizetype kMaxRecordText = 1000;

// One field of a record to write: a quoted text, a bare 16-bit integer, or
// nothing between its two separators.
struct Field {
    enum class Kind { Text, Integer, Absent };
    Kind kind = Kind::Absent;
    QString text;
    int number = 0;

    static Field Text(QString t) { return {Kind::Text, std::move(t), 0}; }
    static Field Integer(int n) { return {Kind::Integer, {}, n}; }
    static Field Absent() { return {}; }
};

// Reads the fields of a record file or the lines of a line file from its
// decoded text. Every fault is an error with the line it was found on; after
// the first error the reader stays failed.
class RecordReader {
public:
    // Decodes the bytes (CP932); a fault in decoding is the first error.
    RecordReader(QString fileName, const QByteArray& bytes);

    // Opens the file in the folder. A missing file is an error too; ask the
    // folder first where a missing file has a meaning of its own.
    static RecordReader open(const WorkingFolder& folder, const QString& fileName);

    // The next field, whatever line it is on.
    QString ReadText();
    // The same into `into`, reusing its storage when it is not shared.
    void ReadText(QString& into);
    int ReadInteger();  // -32768..32767; an empty field reads as 0

    // True when nothing but blank lines remain (a hand edit leaves them).
    bool AtEnd() const;

    // One line without its terminator: CR and CR LF end a line, a lone LF stays
    // in it, a last line without terminator is returned whole.
    QString ReadLine();
    // True when no character at all remains (line files).
    bool AtEndOfText() const { return pos_ >= text_.size(); }

    bool failed() const { return !status_.isOk(); }
    const Status& status() const { return status_; }
    // Line number (1-based) of the next character to read.
    int line() const { return line_; }

private:
    // Reads one field's raw value; false (and the reader failed) on a fault.
    bool readRaw(QStringView& value, bool& quoted);
    bool readPastEnd(qsizetype end);
    bool readQuoted(qsizetype& p, QStringView& value);
    bool readBare(qsizetype& p, QStringView& value);
    qsizetype afterSeparator(qsizetype p);
    void fail(const QString& reason);
    void fail(int line, const QString& reason);
    void advanceLine(qsizetype from, qsizetype to);

    QString fileName_;
    QString text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    bool pendingField_ = false;  // the last field ended with a comma
    int lastFieldLine_ = 0;      // line of the last field read, for faults at the end
    Status status_;
};

// Builds a record file or a line file in memory; the bytes are made once at the
// end. A text the file cannot hold (a double quote or a line end in a record
// text, a character outside CP932 anywhere) is an error, never a "?".
class RecordWriter {
public:
    explicit RecordWriter(QString fileName);

    void WriteRecord(std::initializer_list<Field> fields);
    void WriteRecord(const std::vector<Field>& fields);
    // The text and CR LF (line files); the text may hold CR LF pairs.
    void PrintLine(const QString& text);

    // One record field by field, without building Fields: AddText etc. for
    // each field in order, then EndRecord (what WriteRecord does).
    void AddText(QStringView text);
    void AddInteger(int number);
    void AddAbsent();
    void EndRecord();

    // Room for this many characters, to spare growing the buffer.
    void reserve(qsizetype characters);

    // The CP932 bytes of everything written, or the first fault.
    Status finish(QByteArray& bytes) const;

    const Status& status() const { return status_; }

private:
    void writeField(const Field& f);
    void beginRecord();
    void separate();
    QChar* room(qsizetype extra);
    void put(QLatin1StringView s);

    QString fileName_;
    QString text_;  // the first len_ characters are written
    qsizetype len_ = 0;
    int records_ = 0;
    int fieldsInRecord_ = 0;
    Status status_;
};

// How a file the program cannot do without is loaded: read and parsed; a
// missing file is first created (as createAs, when given) with the default
// bytes, which are then parsed. A file that cannot be read or parsed is never
// written in this run. A creation whose error is marked written goes on, and
// its error is returned after the parse.
Status LoadOrCreate(WorkingFolder& folder, const QString& name, const QByteArray& defaults,
                    const std::function<Status(const QByteArray&)>& parse,
                    const QString& createAs = QString());

}  // namespace store
