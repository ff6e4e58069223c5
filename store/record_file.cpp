#include "store/record_file.h"

#include <algorithm>
#include <cstring>

#include "store/cp932.h"
#include "store/marks.h"

namespace store {
namespace {

inline bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
inline bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// The line ends in [from, to) of text or of CP932 bytes: CR LF, CR and LF each
// end one line (neither byte occurs inside a two-byte character). Every line
// number of the store is counted here.
template <typename Unit>
int countLineEnds(const Unit* d, qsizetype from, qsizetype to) {
    int n = 0;
    for (qsizetype i = from; i < to; ++i) {
        if (d[i] == '\r' || (d[i] == '\n' && (i == 0 || d[i - 1] != '\r'))) ++n;
    }
    return n;
}

int lineOfByte(const QByteArray& bytes, qsizetype offset) {
    return 1 + countLineEnds(bytes.constData(), 0, std::min(offset, bytes.size()));
}

int lineOfCharacter(QStringView text, qsizetype offset) {
    return 1 + countLineEnds(text.utf16(), 0, std::min(offset, text.size()));
}

// The marks that fill most one-character fields ("○", "◎", "△") share one
// string each instead of one allocation per field.
const QString* sharedMark(QStringView v) {
    if (v.size() != 1) return nullptr;
    static const QString marks[] = {QStringLiteral("○"), QStringLiteral("◎"), QStringLiteral("△")};
    for (const QString& m : marks) {
        if (m[0] == v[0]) return &m;
    }
    return nullptr;
}

QString inBrackets(QStringView v) {
    return QStringLiteral("「") + v.toString() + QStringLiteral("」");
}

}  // namespace

// ---------------------------------------------------------------- reader

RecordReader::RecordReader(QString fileName, const QByteArray& bytes)
    : fileName_(std::move(fileName)) {
    qsizetype bad = 0;
    if (auto text = cp932::decodeInHalves(bytes, &bad)) {
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
    line_ += countLineEnds(text_.utf16(), from, to);
}

bool RecordReader::readRaw(QStringView& value, bool& quoted) {
    value = {};
    quoted = false;
    if (failed()) return false;
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    qsizetype p = pos_;
    // Spaces and tabs are skipped.
    while (p < n && isBlank(d[p])) ++p;
    if (p >= n) return readPastEnd(p);
    lastFieldLine_ = line_;
    quoted = d[p] == u'"';
    if (!(quoted ? readQuoted(p, value) : readBare(p, value))) return false;
    // A text this long is no record of the program's: a damaged file, which
    // would also take the window minutes to lay out.
    if (value.size() > kMaxRecordText) {
        fail(QStringLiteral("項目が長すぎます（%1 文字）。項目は %2 文字までです")
                 .arg(value.size())
                 .arg(kMaxRecordText));
        return false;
    }
    pos_ = afterSeparator(p);
    return true;
}

bool RecordReader::readPastEnd(qsizetype end) {
    if (pendingField_) {  // a comma at the very end promised one more, absent field
        pendingField_ = false;
        pos_ = end;
        return true;
    }
    fail(lastFieldLine_ > 0 ? lastFieldLine_ : line_,
         QStringLiteral("ファイルの終わりを越えて読もうとしました（レコードの項目が足りません）"));
    return false;
}

// A quoted text runs to the next double quote, on the same line; p is at the
// opening quote, and is left at the separator.
bool RecordReader::readQuoted(qsizetype& p, QStringView& value) {
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    const qsizetype open = p + 1;
    qsizetype q = open;
    while (q < n) {
        const char16_t c = d[q].unicode();
        if (c == u'"' || c == u'\r' || c == u'\n') break;
        ++q;
    }
    if (q >= n || d[q] != u'"') {
        fail(QStringLiteral("二重引用符で始まるテキストが同じ行で閉じていません"));
        return false;
    }
    value = QStringView(d + open, q - open);
    p = q + 1;
    // After the closing quote only blanks may come before the separator.
    while (p < n && isBlank(d[p])) ++p;
    if (p < n && d[p] != u',' && !isLineEnd(d[p])) {
        fail(QStringLiteral("閉じた二重引用符のあとに余分な文字があります（%1）")
                 .arg(inBrackets(QStringView(d + p, 1))));
        return false;
    }
    return true;
}

// A bare value runs to the next comma or line end; trailing blanks go. p is
// left at the separator.
bool RecordReader::readBare(qsizetype& p, QStringView& value) {
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    qsizetype q = p;
    while (q < n) {
        const char16_t c = d[q].unicode();
        if (c == u',' || c == u'\r' || c == u'\n') break;
        if (c == u'"') {
            fail(QStringLiteral("項目の途中に二重引用符があります"));
            return false;
        }
        ++q;
    }
    qsizetype e = q;
    while (e > p && isBlank(d[e - 1])) --e;
    value = QStringView(d + p, e - p);
    p = q;
    return true;
}

// Steps over the separator at p: a comma, or a line end (CR LF, CR or LF), or
// the end. No value holds a line end, so lines are counted here only, at a
// line end.
qsizetype RecordReader::afterSeparator(qsizetype p) {
    const QChar* d = text_.constData();
    const qsizetype n = text_.size();
    pendingField_ = false;
    if (p >= n) return p;
    const char16_t c = d[p].unicode();
    if (c == u',') {
        pendingField_ = true;
        return p + 1;
    }
    if (c == u'\r') {
        ++line_;
        return p + 1 < n && d[p + 1] == u'\n' ? p + 2 : p + 1;
    }
    // LF: a line end unless it follows a CR (then the CR counted it).
    if (p == 0 || d[p - 1] != u'\r') ++line_;
    return p + 1;
}

// Each text read owns its characters: a text sharing the decoded file's
// storage would, on its first change, be copied at the size of the whole file.
QString RecordReader::ReadText() {
    QString text;
    ReadText(text);
    return text;
}

void RecordReader::ReadText(QString& into) {
    QStringView v;
    bool q;
    if (!readRaw(v, q) || v.isEmpty()) {
        into = QString();
        return;
    }
    if (const QString* m = sharedMark(v)) {
        into = *m;
        return;
    }
    if (into.isDetached() && into.capacity() >= v.size()) {
        into.resize(v.size());
        std::memcpy(into.data(), v.data(), static_cast<size_t>(v.size()) * sizeof(QChar));
    } else {
        into = v.toString();
    }
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

void RecordWriter::reserve(qsizetype characters) {
    if (characters > text_.size()) text_.resize(characters);
}

QChar* RecordWriter::room(qsizetype extra) {
    if (len_ + extra > text_.size()) {
        text_.resize(std::max<qsizetype>(len_ + extra, text_.size() * 2 + 256));
    }
    return text_.data() + len_;
}

void RecordWriter::put(QLatin1StringView s) {
    QChar* out = room(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) out[i] = QLatin1Char(s[i]);
    len_ += s.size();
}

void RecordWriter::beginRecord() {
    fieldsInRecord_ = 0;
}

void RecordWriter::separate() {
    if (fieldsInRecord_++ > 0) {
        *room(1) = u',';
        ++len_;
    }
}

void RecordWriter::AddText(QStringView text) {
    separate();
    const qsizetype n = text.size();
    if (n > kMaxRecordText && status_.isOk()) {
        status_ = StoreError{
            fileName_, records_ + 1,
            QStringLiteral("%1 文字を超えるテキストは保存できません").arg(kMaxRecordText)};
    }
    QChar* out = room(n + 2);
    out[0] = u'"';
    const QChar* in = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = in[i];
        if (c == u'"' || c == u'\r' || c == u'\n') {
            if (status_.isOk()) {
                status_ = StoreError{
                    fileName_, records_ + 1,
                    c == u'"' ? QStringLiteral("二重引用符を含むテキストは保存できません：%1")
                                    .arg(inBrackets(text))
                              : QStringLiteral("改行を含むテキストは保存できません")};
            }
            out[i + 1] = u' ';
            continue;
        }
        out[i + 1] = c;
    }
    out[n + 1] = u'"';
    len_ += n + 2;
}

void RecordWriter::AddInteger(int number) {
    separate();
    if (number < -32768 || number > 32767) {
        if (status_.isOk()) {
            status_ = StoreError{
                fileName_, records_ + 1,
                QStringLiteral("整数 %1 は範囲（-32768～32767）を超えるため保存できません")
                    .arg(number)};
        }
        return;
    }
    char buf[8];
    int len = 0;
    unsigned u = static_cast<unsigned>(number < 0 ? -number : number);
    do {
        buf[len++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (number < 0) buf[len++] = '-';
    QChar* out = room(len);
    for (int i = 0; i < len; ++i) out[i] = QLatin1Char(buf[len - 1 - i]);
    len_ += len;
}

void RecordWriter::AddAbsent() {
    separate();
}

void RecordWriter::EndRecord() {
    put(marks::kLineEndLatin1);
    ++records_;
    fieldsInRecord_ = 0;
}

void RecordWriter::writeField(const Field& f) {
    switch (f.kind) {
        case Field::Kind::Text:
            AddText(f.text);
            break;
        case Field::Kind::Integer:
            AddInteger(f.number);
            break;
        case Field::Kind::Absent:
            AddAbsent();
            break;
    }
}

void RecordWriter::WriteRecord(std::initializer_list<Field> fields) {
    beginRecord();
    for (const Field& f : fields) writeField(f);
    EndRecord();
}

void RecordWriter::WriteRecord(const std::vector<Field>& fields) {
    beginRecord();
    for (const Field& f : fields) writeField(f);
    EndRecord();
}

void RecordWriter::PrintLine(const QString& text) {
    QChar* out = room(text.size());
    std::copy(text.constBegin(), text.constEnd(), out);
    len_ += text.size();
    put(marks::kLineEndLatin1);
    records_ += 1 + countLineEnds(text.utf16(), 0, text.size());
    fieldsInRecord_ = 0;
}

Status RecordWriter::finish(QByteArray& bytes) const {
    bytes.clear();
    if (!status_.isOk()) return status_;
    const QStringView written(text_.constData(), len_);
    auto encoded = cp932::encodeInHalves(written);
    if (!encoded) {
        const QString all = written.toString();
        const QString bad = cp932::unencodable(all);
        const qsizetype at =
            bad.isEmpty() ? all.size() : all.indexOf(bad.left(bad.at(0).isHighSurrogate() ? 2 : 1));
        const int line = lineOfCharacter(all, at);
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

// ---------------------------------------------------------------- loading

Status LoadOrCreate(WorkingFolder& folder, const QString& name, const QByteArray& defaults,
                    const std::function<Status(const QByteArray&)>& parse,
                    const QString& createAs) {
    QByteArray bytes;
    bool missing = false;
    Status created;
    if (Status s = folder.load(name, bytes, &missing); !s) {
        if (!missing || !WorkingFolder::isSafeName(name)) {
            folder.markUnwritable(name);
            return s;
        }
        created = folder.replace(createAs.isEmpty() ? name : createAs, defaults);
        if (!created.isWritten()) return created;
        bytes = defaults;
    }
    if (Status s = parse(bytes); !s) {
        folder.markUnwritable(name);
        return s;
    }
    return created;
}

}  // namespace store
