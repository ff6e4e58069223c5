#pragma once

// A temporary working folder for store tests, and CP932 fixtures written as
// bytes (never through the code under test).
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    const QString& path() const { return path_; }
    QString file(const QString& name) const { return path_ + QLatin1Char('/') + name; }

    // Writes or reads the raw bytes of a file of the folder.
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // Names of the entries of the folder, sorted.
    QStringList entries() const;

private:
    QTemporaryDir dir_;
    QString path_;
};

// Bytes from hexadecimal pairs, spaces ignored: Hex("83 65 0D 0A").
QByteArray Hex(const char* pairs);

// The bytes of a C string literal written with \x escapes, e.g. B("\x82\xa0").
inline QByteArray B(const char* s) {
    return QByteArray(s);
}

}  // namespace testsupport
