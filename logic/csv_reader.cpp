#include "logic/csv_reader.h"

#include "store/cp932.h"

namespace logic {
namespace {

// Offset of the first byte that is not well-formed UTF-8, or -1.
qsizetype FirstBadUtf8(const QByteArray& b) {
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(b[i]);
        int extra = 0;
        unsigned int min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000;
        } else {
            return i;
        }
        unsigned int cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n) return i;
            const auto t = static_cast<unsigned char>(b[i + k]);
            if ((t & 0xC0) != 0x80) return i;
            cp = (cp << 6) | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
        i += extra + 1;
    }
    return -1;
}

int LineAt(const QByteArray& b, qsizetype offset) {
    return static_cast<int>(QByteArrayView(b).first(offset).count('\n')) + 1;
}

store::Status Decode(const QByteArray& raw, const QString& fileName, QString& text) {
    const bool bom = raw.startsWith("\xEF\xBB\xBF");
    const QByteArray bytes = bom ? raw.mid(3) : raw;
    const qsizetype badUtf8 = FirstBadUtf8(bytes);
    if (badUtf8 < 0) {
        text = QString::fromUtf8(bytes);
        return store::Status::ok();
    }
    qsizetype badCp932 = -1;
    if (!bom) {
        if (std::optional<QString> t = cp932::decode(bytes, &badCp932)) {
            text = *t;
            return store::Status::ok();
        }
    }
    // The encoding that reads further is the file's: its first fault is the bad line.
    const qsizetype bad = std::max(badUtf8, badCp932);
    return store::StoreError{fileName, LineAt(bytes, bad),
                             QStringLiteral("文字コードが UTF-8 とも Shift_JIS とも読めません")};
}

QChar Separator(const QString& text) {
    qsizetype end = text.indexOf(u'\n');
    const QStringView first = QStringView(text).first(end < 0 ? text.size() : end);
    return first.count(u'\t') > first.count(u',') ? u'\t' : u',';
}

bool IsBlank(const QStringList& row) {
    return row.size() == 1 && row.front().isEmpty();
}

// Reads the fields of a decoded text one after another.
class FieldReader {
public:
    FieldReader(const QString& text, const QString& fileName)
        : text_(text), fileName_(fileName), sep_(Separator(text)) {}

    // The field at the current place; the place is then at what ends it (a
    // separator, a line end, or the end of the text).
    store::Status Read(QString& field) {
        if (pos_ < text_.size() && text_.at(pos_) == u'"') return ReadQuoted(field);
        field = ReadPlain();
        return store::Status::ok();
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    // Steps over a separator; false at a line end.
    bool NextInRow() {
        if (text_.at(pos_) != sep_) return false;
        ++pos_;
        return true;
    }
    // Steps over a line end (CR LF, CR or LF).
    void NextRow() {
        if (text_.at(pos_) == u'\r' && pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\n')
            ++pos_;
        ++pos_;
        ++line_;
    }
    int line() const { return line_; }

private:
    // A field in quotes: doubled quotes stand for one, line breaks belong to
    // it; after the closing quote only a separator or a line end may follow.
    store::Status ReadQuoted(QString& field) {
        const int quoteLine = line_;
        const QStringView all(text_);
        qsizetype from = pos_ + 1;
        for (;;) {
            const qsizetype q = text_.indexOf(u'"', from);
            if (q < 0) {
                return store::StoreError{fileName_, quoteLine,
                                         QStringLiteral("引用符（\"）が閉じていません")};
            }
            const QStringView part = all.mid(from, q - from);
            line_ += static_cast<int>(part.count(u'\n') + part.count(u'\r') -
                                      part.count(QStringView(u"\r\n")));
            field += part;
            if (q + 1 < text_.size() && text_.at(q + 1) == u'"') {
                field += u'"';
                from = q + 2;
                continue;
            }
            pos_ = q + 1;
            break;
        }
        if (!AtEnd() && !AtFieldEnd(text_.at(pos_))) {
            return store::StoreError{
                fileName_, line_, QStringLiteral("引用符（\"）の後に区切りのない文字があります")};
        }
        return store::Status::ok();
    }

    // A field without quotes: up to the separator or the line end.
    QString ReadPlain() {
        qsizetype k = pos_;
        while (k < text_.size() && !AtFieldEnd(text_.at(k))) ++k;
        QString field = text_.mid(pos_, k - pos_);
        pos_ = k;
        return field;
    }

    bool AtFieldEnd(QChar c) const { return c == sep_ || c == u'\r' || c == u'\n'; }

    const QString& text_;
    const QString& fileName_;
    const QChar sep_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

}  // namespace

store::Status ReadCsv(const QByteArray& bytes, const QString& fileName, CsvTable& out) {
    out = {};
    QString text;
    if (store::Status s = Decode(bytes, fileName, text); !s) return s;
    // One look at the whole text spares one conversion per field.
    out.plainCp932 = cp932::normalise(text) == text && cp932::encodeInHalves(text).has_value();
    const qsizetype lineEnds = text.count(u'\n') + 1;
    out.rows.reserve(static_cast<size_t>(lineEnds));
    out.lines.reserve(static_cast<size_t>(lineEnds));
    FieldReader reader(text, fileName);
    QStringList row;
    int rowLine = 1;
    bool headerRead = false;
    auto endRow = [&] {
        if (!IsBlank(row)) {
            if (!headerRead) {
                out.header = std::move(row);
                headerRead = true;
            } else {
                out.rows.push_back(std::move(row));
                out.lines.push_back(rowLine);
            }
        }
        row = QStringList();
        row.reserve(out.header.size());
    };
    for (;;) {
        QString field;
        if (store::Status s = reader.Read(field); !s) return s;
        row << std::move(field);
        if (reader.AtEnd()) {
            endRow();
            break;
        }
        if (reader.NextInRow()) continue;
        reader.NextRow();
        endRow();
        rowLine = reader.line();
        if (reader.AtEnd()) break;
    }
    if (!headerRead) {
        return store::StoreError{fileName, 0, QStringLiteral("見出しの行がありません")};
    }
    return store::Status::ok();
}

}  // namespace logic
