// libFuzzer target: the bytes as a record file (fields of both kinds until the
// end or the first fault) and as a line file (lines until the end of text).
// Neither may crash or loop; every text read must write back and read back
// the same.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/record_file.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void ReadRecords(const QByteArray& bytes, uint8_t pattern) {
    store::RecordReader r(QStringLiteral("fuzz.txt"), bytes);
    std::vector<store::Field> fields;
    std::vector<QString> texts;
    std::vector<int> numbers;
    const qsizetype limit = bytes.size() + 2;  // each field takes at least one character
    qsizetype steps = 0;
    unsigned bit = 0;
    while (!r.failed() && !r.AtEnd()) {
        Check(++steps <= limit);
        if ((pattern >> (bit++ % 8)) & 1) {
            const int n = r.ReadInteger();
            Check(n >= -32768 && n <= 32767);
            if (!r.failed()) fields.push_back(store::Field::Integer(n));
        } else {
            QString t = r.ReadText();
            if (!r.failed()) fields.push_back(store::Field::Text(t));
        }
    }
    if (r.failed()) {
        Check(!r.status().error().reason.isEmpty());
        Check(r.status().error().line >= 1);
        return;
    }
    // What was read writes back as one record and reads back the same.
    store::RecordWriter w(QStringLiteral("fuzz.txt"));
    w.WriteRecord(fields);
    QByteArray out;
    Check(w.finish(out).isOk());
    store::RecordReader back(QStringLiteral("fuzz.txt"), out);
    for (const store::Field& f : fields) {
        if (f.kind == store::Field::Kind::Integer) {
            Check(back.ReadInteger() == f.number);
        } else {
            Check(back.ReadText() == f.text);
        }
    }
    Check(!back.failed());
    Check(back.AtEnd());
}

void ReadLines(const QByteArray& bytes) {
    store::RecordReader r(QStringLiteral("fuzz.txt"), bytes);
    const qsizetype limit = bytes.size() + 1;
    qsizetype steps = 0;
    QString joined;
    while (!r.failed() && !r.AtEndOfText()) {
        Check(++steps <= limit);
        joined += r.ReadLine();
        joined += QStringLiteral("\r\n");
    }
    if (r.failed()) return;
    // The lines, written back as one print line, read back the same.
    if (!joined.isEmpty()) joined.chop(2);
    if (joined.isEmpty()) return;
    store::RecordWriter w(QStringLiteral("fuzz.txt"));
    w.PrintLine(joined);
    QByteArray out;
    Check(w.finish(out).isOk());
    store::RecordReader back(QStringLiteral("fuzz.txt"), out);
    QString again;
    while (!back.failed() && !back.AtEndOfText()) {
        again += back.ReadLine();
        again += QStringLiteral("\r\n");
    }
    again.chop(2);
    Check(!back.failed());
    Check(again == joined);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t pattern = size > 0 ? data[0] : 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ReadRecords(bytes, pattern);
    ReadLines(bytes);
    return 0;
}
