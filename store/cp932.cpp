#include "store/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "store/parallel.h"

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

namespace {

// Below this many bytes a second thread costs more than it saves.
constexpr qsizetype kHalvesFrom = qsizetype(1) << 20;

// The storage is made for one character per byte; Japanese text takes two
// bytes a character. The texts read from a file keep its decoded storage, so
// a large excess is given back.
void fitStorage(QString& text) {
    if (text.capacity() - text.size() > text.size() / 4) text.squeeze();
}

bool decodeInto(const char* in, qsizetype len, QChar* out, qsizetype* outChars, qsizetype* bad) {
    size_t outLen = 0;
    size_t at = 0;
    // Every CP932 character (one or two bytes) is one UTF-16 unit.
    if (!decoder().run(in, static_cast<size_t>(len), reinterpret_cast<char*>(out),
                       static_cast<size_t>(len) * 2, &outLen, &at)) {
        *bad = static_cast<qsizetype>(at);
        return false;
    }
    *outChars = static_cast<qsizetype>(outLen / 2);
    return true;
}

bool encodeInto(QStringView text, char* out, qsizetype* outBytes) {
    size_t outLen = 0;
    // Every UTF-16 unit gives at most two bytes.
    if (!encoder().run(reinterpret_cast<const char*>(text.constData()),
                       static_cast<size_t>(text.size()) * 2, out,
                       static_cast<size_t>(text.size()) * 2, &outLen, nullptr)) {
        return false;
    }
    *outBytes = static_cast<qsizetype>(outLen);
    return true;
}

}  // namespace

std::optional<QString> decode(const QByteArray& bytes, qsizetype* badOffset) {
    QString out(bytes.size(), Qt::Uninitialized);
    qsizetype chars = 0;
    qsizetype bad = 0;
    if (!decodeInto(bytes.constData(), bytes.size(), out.data(), &chars, &bad)) {
        if (badOffset) *badOffset = bad;
        return std::nullopt;
    }
    out.truncate(chars);
    fitStorage(out);
    return out;
}

std::optional<QString> decodeInHalves(const QByteArray& bytes, qsizetype* badOffset) {
    // The cut goes right after a CR or LF byte from the middle on: neither is
    // ever the second byte of a character, so each half decodes on its own
    // exactly as it would within the whole.
    const qsizetype n = bytes.size();
    qsizetype cut = n;
    if (n >= kHalvesFrom) {
        const char* d = bytes.constData();
        for (qsizetype i = n / 2; i < n - 1; ++i) {
            if (d[i] == '\n' || d[i] == '\r') {
                cut = i + 1;
                break;
            }
        }
    }
    if (cut == n) return decode(bytes, badOffset);
    QString out(n, Qt::Uninitialized);
    qsizetype chars[2] = {0, 0};
    qsizetype bad[2] = {-1, -1};
    bool ok[2] = {false, false};
    store::RunBeside(
        [&] {
            ok[1] =
                decodeInto(bytes.constData() + cut, n - cut, out.data() + cut, &chars[1], &bad[1]);
        },
        [&] { ok[0] = decodeInto(bytes.constData(), cut, out.data(), &chars[0], &bad[0]); });
    if (!ok[0] || !ok[1]) {
        if (badOffset) *badOffset = !ok[0] ? bad[0] : cut + bad[1];
        return std::nullopt;
    }
    QChar* d = out.data();
    std::memmove(d + chars[0], d + cut, static_cast<size_t>(chars[1]) * sizeof(QChar));
    out.truncate(chars[0] + chars[1]);
    fitStorage(out);
    return out;
}

std::optional<QByteArray> encode(const QString& text) {
    return encode(QStringView(text));
}

std::optional<QByteArray> encode(QStringView text) {
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    qsizetype len = 0;
    if (!encodeInto(text, out.data(), &len)) return std::nullopt;
    out.truncate(len);
    return out;
}

std::optional<QByteArray> encodeInHalves(QStringView text) {
    const qsizetype n = text.size();
    if (n < kHalvesFrom / 2) return encode(text);
    // Never between the two halves of a surrogate pair.
    qsizetype cut = n / 2;
    if (text[cut].isLowSurrogate()) ++cut;
    QByteArray out(n * 2, Qt::Uninitialized);
    qsizetype len[2] = {0, 0};
    bool ok[2] = {false, false};
    store::RunBeside([&] { ok[1] = encodeInto(text.sliced(cut), out.data() + cut * 2, &len[1]); },
                     [&] { ok[0] = encodeInto(text.first(cut), out.data(), &len[0]); });
    if (!ok[0] || !ok[1]) return std::nullopt;
    char* d = out.data();
    std::memmove(d + len[0], d + cut * 2, static_cast<size_t>(len[1]));
    out.truncate(len[0] + len[1]);
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
