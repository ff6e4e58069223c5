#include "store/record_file.h"

#include "store/cp932.h"

namespace store {
namespace {

inline bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
inline bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Line number (1-based) of the byte at offset in CP932 bytes: CR LF, CR and LF
// each end a line (neither byte occurs inside a two-byte character).
int lineOfByte(const QByteArray& bytes, qsizetype offset) {
    int line = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ++line;
        } else if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            ++line;
        }
    }
    return line;
}

QString inBrackets(QStringView v) {
    return QStringLiteral("「") + v.toString() + QStringLiteral("」");
}

}  // namespace

// ---------------------------------------------------------------- reader

RecordReader::RecordReader(QString fileName, const QByteArray& bytes)
    : fileName_(std::move(fileName)) {
    qsizetype bad = 0;
    if (auto text = cp932::decode(bytes, &bad)) {
        text_ = std::move(*text);
    } else {
        const int line = lineOfByte(bytes, bad);
        fail(line, QStringLiteral("Shift_JIS（CP932）として読めないバイトがあります"
                                  "（先頭から %1 バイト目、0x%2）")
                       .arg(bad + 1)
                       .arg(static_cast<unsigned char>(bytes.at(bad < bytes.size() ? bad : 0)), 2,
                            16, QLatin1Char('0')));
    }
}

RecordReader RecordReader::open(const WorkingFolder& folder, const QString& fileName) {
    QByteArray bytes;
    Status s = folder.read(fileName, bytes);
    if (!s) {
        RecordReader r(fileName, QByteArray());
        r.status_ = s;
        return r;
    }
    return RecordReader(fileName, bytes);
}

void RecordReader::fail(const QString& reason) {
    fail(line_, reason);
}

void RecordReader::fail(int line, const QString& reason) {
    if (!status_.isOk()) return;
    status_ = StoreError{fileName_, line, reason};
}

void RecordReader::advanceLine(qsizetype from, qsizetype to) {
    const QChar* d = text_.constData();
    for (qsizetype i = from; i < to; ++i) {
        if (d[i] == u'\r') {
            ++line_;
        } else if (d[i] == u'\n' && (i == 0 || d[i - 1] != u'\r')) {
            ++line_;
        }
    }
}

bool RecordReader::readRaw(QStringView& value, bool& quoted) {
    value = {};
    quoted = false;
    if (failed()) return false;
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    const qsizetype start = pos_;
    qsizetype p = pos_;
    // 1. Spaces and tabs are skipped.
    while (p < n && isBlank(d[p])) ++p;
    if (p >= n) {
        if (pendingField_) {  // a comma at the very end promised one more, absent field
            pendingField_ = false;
            pos_ = p;
            return true;
        }
        fail(lastFieldLine_ > 0 ? lastFieldLine_ : line_,
             QStringLiteral(
                 "ファイルの終わりを越えて読もうとしました（レコードの項目が足りません）"));
        return false;
    }
    lastFieldLine_ = line_;
    if (d[p] == u'"') {
        // 2. A quoted text runs to the next double quote on the same line.
        quoted = true;
        const qsizetype open = p + 1;
        qsizetype q = open;
        while (q < n && d[q] != u'"' && !isLineEnd(d[q])) ++q;
        if (q >= n || d[q] != u'"') {
            fail(QStringLiteral("二重引用符で始まるテキストが同じ行で閉じていません"));
            return false;
        }
        value = QStringView(d + open, q - open);
        p = q + 1;
        while (p < n && isBlank(d[p])) ++p;
        if (p < n && d[p] != u',' && !isLineEnd(d[p])) {
            fail(QStringLiteral("閉じた二重引用符のあとに余分な文字があります（%1）")
                     .arg(inBrackets(QStringView(d + p, 1))));
            return false;
        }
    } else {
        // 3. A bare value runs to the next comma or line end; trailing blanks go.
        qsizetype q = p;
        while (q < n && d[q] != u',' && !isLineEnd(d[q])) {
            if (d[q] == u'"') {
                fail(QStringLiteral("項目の途中に二重引用符があります"));
                return false;
            }
            ++q;
        }
        qsizetype e = q;
        while (e > p && isBlank(d[e - 1])) --e;
        value = QStringView(d + p, e - p);
        p = q;
    }
    // The separator: a comma, or a line end (CR LF, CR or LF), or the end.
    pendingField_ = false;
    if (p < n) {
        if (d[p] == u',') {
            ++p;
            pendingField_ = true;
        } else if (d[p] == u'\r') {
            ++p;
            if (p < n && d[p] == u'\n') ++p;
        } else if (d[p] == u'\n') {
            ++p;
        }
    }
    pos_ = p;
    advanceLine(start, p);
    return true;
}

QString RecordReader::ReadText() {
    QStringView v;
    bool q;
    if (!readRaw(v, q)) return {};
    return v.toString();
}

int RecordReader::ReadInteger() {
    const int line = line_;
    QStringView v;
    bool q;
    if (!readRaw(v, q)) return 0;
    if (v.isEmpty()) return 0;
    qsizetype i = 0;
    bool negative = false;
    if (v[0] == u'-' || v[0] == u'+') {
        negative = v[0] == u'-';
        i = 1;
    }
    if (i >= v.size()) {
        fail(line, QStringLiteral("整数の項目が数字ではありません：%1").arg(inBrackets(v)));
        return 0;
    }
    qint64 value = 0;
    for (; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c < u'0' || c > u'9') {
            fail(line, QStringLiteral("整数の項目が数字ではありません：%1").arg(inBrackets(v)));
            return 0;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > 32768) break;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) {
        fail(line, QStringLiteral("整数の項目が範囲（-32768～32767）を超えています：%1")
                       .arg(inBrackets(v)));
        return 0;
    }
    return static_cast<int>(value);
}

bool RecordReader::AtEnd() const {
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    for (qsizetype p = pos_; p < n; ++p) {
        if (!isBlank(d[p]) && !isLineEnd(d[p])) return false;
    }
    return true;
}

QString RecordReader::ReadLine() {
    if (failed()) return {};
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    if (pos_ >= n) {
        fail(QStringLiteral("ファイルの終わりを越えて読もうとしました"));
        return {};
    }
    const qsizetype start = pos_;
    qsizetype p = pos_;
    while (p < n && d[p] != u'\r') ++p;
    QString line(d + start, p - start);
    if (p < n) {
        ++p;
        if (p < n && d[p] == u'\n') ++p;
    }
    pos_ = p;
    advanceLine(start, p);
    return line;
}

// ---------------------------------------------------------------- writer

RecordWriter::RecordWriter(QString fileName) : fileName_(std::move(fileName)) {}

void RecordWriter::beginRecord() {}

void RecordWriter::writeField(const Field& f) {
    switch (f.kind) {
        case Field::Kind::Text: {
            for (QChar c : f.text) {
                if (c == u'"' || isLineEnd(c)) {
                    if (status_.isOk()) {
                        status_ = StoreError{
                            fileName_, records_ + 1,
                            c == u'"'
                                ? QStringLiteral("二重引用符を含むテキストは保存できません：%1")
                                      .arg(inBrackets(f.text))
                                : QStringLiteral("改行を含むテキストは保存できません")};
                    }
                    return;
                }
            }
            text_ += u'"';
            text_ += f.text;
            text_ += u'"';
            break;
        }
        case Field::Kind::Integer: {
            if (f.number < -32768 || f.number > 32767) {
                if (status_.isOk()) {
                    status_ = StoreError{
                        fileName_, records_ + 1,
                        QStringLiteral("整数 %1 は範囲（-32768～32767）を超えるため保存できません")
                            .arg(f.number)};
                }
                return;
            }
            char buf[8];
            int len = 0;
            unsigned u = static_cast<unsigned>(f.number < 0 ? -f.number : f.number);
            do {
                buf[len++] = static_cast<char>('0' + u % 10);
                u /= 10;
            } while (u != 0);
            if (f.number < 0) buf[len++] = '-';
            for (int a = 0, b = len - 1; a < b; ++a, --b) std::swap(buf[a], buf[b]);
            text_ += QLatin1StringView(buf, len);
            break;
        }
        case Field::Kind::Absent:
            break;
    }
}

void RecordWriter::WriteRecord(std::initializer_list<Field> fields) {
    beginRecord();
    bool first = true;
    for (const Field& f : fields) {
        if (!first) text_ += u',';
        first = false;
        writeField(f);
    }
    text_ += QLatin1StringView("\r\n");
    ++records_;
}

void RecordWriter::WriteRecord(const std::vector<Field>& fields) {
    beginRecord();
    bool first = true;
    for (const Field& f : fields) {
        if (!first) text_ += u',';
        first = false;
        writeField(f);
    }
    text_ += QLatin1StringView("\r\n");
    ++records_;
}

void RecordWriter::PrintLine(const QString& text) {
    text_ += text;
    text_ += QLatin1StringView("\r\n");
    ++records_;
    for (QChar c : text) {
        if (c == u'\r') ++records_;
    }
}

Status RecordWriter::finish(QByteArray& bytes) const {
    bytes.clear();
    if (!status_.isOk()) return status_;
    auto encoded = cp932::encode(text_);
    if (!encoded) {
        const QString bad = cp932::unencodable(text_);
        int line = 1;
        const qsizetype at = bad.isEmpty()
                                 ? text_.size()
                                 : text_.indexOf(bad.left(bad.at(0).isHighSurrogate() ? 2 : 1));
        for (qsizetype i = 0; i < at; ++i) {
            if (text_.at(i) == u'\r' ||
                (text_.at(i) == u'\n' && (i == 0 || text_.at(i - 1) != u'\r'))) {
                ++line;
            }
        }
        QString list;
        for (qsizetype i = 0; i < bad.size(); ++i) {
            const qsizetype len = bad.at(i).isHighSurrogate() && i + 1 < bad.size() ? 2 : 1;
            list += inBrackets(QStringView(bad).mid(i, len));
            i += len - 1;
        }
        return StoreError{
            fileName_, line,
            QStringLiteral("Shift_JIS（CP932）で表せない文字があるため保存できません：") + list};
    }
    bytes = std::move(*encoded);
    return Status::ok();
}

}  // namespace store
