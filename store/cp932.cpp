#include "store/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace cp932 {
namespace {

// One iconv descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input; false at the first byte that does not convert
    // (its offset in *bad), including an incomplete sequence at the end.
    bool run(const char* in, size_t inLen, char* out, size_t outCap, size_t* outLen, size_t* bad) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inp = const_cast<char*>(in);
        size_t inLeft = inLen;
        char* outp = out;
        size_t outLeft = outCap;
        while (inLeft > 0) {
            size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
            if (r == static_cast<size_t>(-1)) {
                if (bad) *bad = static_cast<size_t>(inp - in);
                return false;
            }
            // glibc counts irreversible conversions in r; with plain "CP932"
            // there are none, but treat any as a refusal all the same.
            if (r != 0) {
                if (bad) *bad = static_cast<size_t>(inp - in);
                return false;
            }
        }
        size_t r = iconv(cd_, nullptr, nullptr, &outp, &outLeft);
        if (r == static_cast<size_t>(-1)) {
            if (bad) *bad = inLen;
            return false;
        }
        *outLen = outCap - outLeft;
        return true;
    }

private:
    iconv_t cd_;
};

Converter& decoder() {
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "QString data is fed to iconv as UTF-16LE");

}  // namespace

std::optional<QString> decode(const QByteArray& bytes, qsizetype* badOffset) {
    // Every CP932 character (one or two bytes) is one UTF-16 unit.
    QString out(bytes.size(), Qt::Uninitialized);
    size_t outLen = 0;
    size_t bad = 0;
    if (!decoder().run(bytes.constData(), static_cast<size_t>(bytes.size()),
                       reinterpret_cast<char*>(out.data()), static_cast<size_t>(bytes.size()) * 2,
                       &outLen, &bad)) {
        if (badOffset) *badOffset = static_cast<qsizetype>(bad);
        return std::nullopt;
    }
    out.truncate(static_cast<qsizetype>(outLen / 2));
    return out;
}

std::optional<QByteArray> encode(const QString& text) {
    return encode(QStringView(text));
}

std::optional<QByteArray> encode(QStringView text) {
    // Every UTF-16 unit gives at most two bytes.
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    size_t outLen = 0;
    if (!encoder().run(reinterpret_cast<const char*>(text.constData()),
                       static_cast<size_t>(text.size()) * 2, out.data(),
                       static_cast<size_t>(out.size()), &outLen, nullptr)) {
        return std::nullopt;
    }
    out.truncate(static_cast<qsizetype>(outLen));
    return out;
}

QString unencodable(const QString& text) {
    if (encode(text)) return {};
    QString result;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) len = 2;
        const QString ch = text.mid(i, len);
        if (!encode(ch) && !result.contains(ch)) result += ch;
        i += len;
    }
    return result;
}

QString normalise(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
            case 0x301C:
                c = QChar(0xFF5E);
                break;  // 〜 -> ～
            case 0x2212:
                c = QChar(0xFF0D);
                break;  // − -> －
            case 0x2016:
                c = QChar(0x2225);
                break;  // ‖ -> ∥
            case 0x00A2:
                c = QChar(0xFFE0);
                break;  // ¢ -> ￠
            case 0x00A3:
                c = QChar(0xFFE1);
                break;  // £ -> ￡
            case 0x00AC:
                c = QChar(0xFFE2);
                break;  // ¬ -> ￢
            case 0x2014:
                c = QChar(0x2015);
                break;  // — -> ―
            case 0x00A5:
                c = QChar(0x005C);
                break;  // ¥ -> \ (byte 5C)
            case 0x203E:
                c = QChar(0x007E);
                break;  // ‾ -> ~ (byte 7E)
            default:
                break;
        }
    }
    return out;
}

}  // namespace cp932
