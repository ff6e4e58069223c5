#include "logic/thumbnails.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>

namespace logic {

QString NormalThumbnailFolder(const QByteArray& xdgCacheHome, const QByteArray& home) {
    QString cache = QFile::decodeName(xdgCacheHome);
    if (!QDir::isAbsolutePath(cache)) {
        const QString h = QFile::decodeName(home);
        if (!QDir::isAbsolutePath(h)) return {};
        cache = h + QStringLiteral("/.cache");
    }
    return QDir::cleanPath(cache + QStringLiteral("/thumbnails/normal"));
}

QString NormalThumbnailFolder() {
    return NormalThumbnailFolder(qgetenv("XDG_CACHE_HOME"), qgetenv("HOME"));
}

QByteArray ThumbnailUri(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
}

QString ThumbnailFileName(const QByteArray& uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

std::optional<ThumbnailKeys> ReadThumbnailKeys(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    ThumbnailKeys keys;
    keys.uri = ThumbnailUri(path);
    keys.mtime = st.st_mtim.tv_sec;
    keys.size = st.st_size;
    keys.look = QByteArray::number(qulonglong(st.st_dev)) + ':' +
                QByteArray::number(qulonglong(st.st_ino)) + ':' + QByteArray::number(keys.size) +
                ':' + QByteArray::number(keys.mtime) + '.' +
                QByteArray::number(st.st_mtim.tv_nsec) + ':' +
                QByteArray::number(qlonglong(st.st_ctim.tv_sec)) + '.' +
                QByteArray::number(st.st_ctim.tv_nsec);
    return keys;
}

namespace {

bool SameNumber(const QString& text, qint64 value) {
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n == value;
}

// Each missing folder of the path, made private to the user.
bool MakeFolders(const QString& folder) {
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        if (::stat(native.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) return false;
            continue;
        }
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
        ::chmod(native.constData(), 0700);  // whatever the umask left
    }
    return true;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

bool ThumbnailMatches(const ThumbnailKeys& file, const QString& uri, const QString& mtime,
                      const QString& size) {
    return uri == QString::fromLatin1(file.uri) && SameNumber(mtime, file.mtime) &&
           (size.isNull() || SameNumber(size, file.size));
}

bool ThumbnailSettled(const ThumbnailKeys& file, qint64 now) {
    return file.mtime <= now - 2;
}

bool StoreThumbnail(const QString& folder, const QString& fileName, const QByteArray& png) {
    if (folder.isEmpty() || !MakeFolders(folder)) return false;
    QByteArray temporary = QFile::encodeName(folder + QLatin1Char('/') + fileName) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, png);
    ok = ::close(fd) == 0 && ok;
    // The cache holds copies only: a thumbnail lost in a crash is made again,
    // and a cut one does not load, so the data is not forced to the disk.
    ok = ok && ::rename(temporary.constData(),
                        QFile::encodeName(folder + QLatin1Char('/') + fileName).constData()) == 0;
    if (!ok) ::unlink(temporary.constData());
    return ok;
}

}  // namespace logic
