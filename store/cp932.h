#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// Code page 932 (Shift_JIS with the Windows extensions) through iconv's "CP932",
// strict both ways: nothing is transliterated, nothing is dropped.
namespace cp932 {

// The text of the bytes, or nothing when some bytes are not CP932; then
// *badOffset (when given) is the offset of the first byte that does not decode.
std::optional<QString> decode(const QByteArray& bytes, qsizetype* badOffset = nullptr);

// The bytes of the text, or nothing when some character has no CP932 form.
std::optional<QByteArray> encode(const QString& text);
std::optional<QByteArray> encode(QStringView text);

// The same results as decode and encode; a large input is converted in two
// halves at once, one of them on a second thread (the loads and saves of the
// store's files, megabytes at the record limit).
std::optional<QString> decodeInHalves(const QByteArray& bytes, qsizetype* badOffset = nullptr);
std::optional<QByteArray> encodeInHalves(QStringView text);

// The distinct characters of the text that CP932 cannot hold, in order of
// first appearance (a surrogate pair counts as one character).
QString unencodable(const QString& text);

// Replaces the JIS-style characters that iconv writes under another code point
// (U+301C, U+2212, U+2016, U+00A2, U+00A3, U+00AC, U+2014, and U+00A5, U+203E
// which iconv writes as the bytes 5C and 7E) by the characters those bytes read
// back as, so that text in memory equals text on disk.
QString normalise(const QString& text);

}  // namespace cp932
