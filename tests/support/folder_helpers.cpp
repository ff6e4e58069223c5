#include "tests/support/folder_helpers.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace testsupport {

TempFolder::TempFolder() : path_(dir_.path()) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
}

void TempFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a fixture");
    }
}

QByteArray TempFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool TempFolder::exists(const QString& name) const {
    return QFile::exists(file(name));
}

QStringList TempFolder::entries() const {
    return QDir(path_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Name);
}

QByteArray Hex(const char* pairs) {
    QByteArray compact;
    for (const char* p = pairs; *p; ++p) {
        if (*p != ' ') compact += *p;
    }
    return QByteArray::fromHex(compact);
}

}  // namespace testsupport
