#include "store/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace store {

StoreError IoError(const QString& file, const QString& what, int err) {
    return StoreError{file, 0,
                      what + QStringLiteral("（") + SystemReason(err) + QStringLiteral("）")};
}

QByteArray NativePath(const QString& path) {
    return QFile::encodeName(path);
}

namespace {

int fsyncPath(const QString& path, int flags) {
    const int fd = ::open(NativePath(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    if (::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

}  // namespace

int WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        data += n;
        size -= n;
    }
    return 0;
}

Status ReplaceFileAtPath(const QString& targetPath, const QByteArray& bytes,
                         const QString& temporaryPath, const QString& name) {
    auto error = [&name](const QString& what, int err) -> Status {
        return StoreError{name, 0,
                          what + QStringLiteral("（") + SystemReason(err) + QStringLiteral("）")};
    };
    const QByteArray target = NativePath(targetPath);
    const QString dir = QFileInfo(targetPath).absolutePath();
    QByteArray temp =
        temporaryPath.isEmpty()
            ? NativePath(dir + u'/' + QLatin1String(kTemporaryPrefix) + QStringLiteral("XXXXXX"))
            : NativePath(temporaryPath);
    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int fd = temporaryPath.isEmpty()
                 ? ::mkostemp(temp.data(), O_CLOEXEC)
                 : ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return error(QStringLiteral("一時ファイルを作れません"), errno);
    auto fail = [&](const QString& what, int err) -> Status {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.constData());
        return error(what, err);
    };
    const QString cannotWrite = QStringLiteral("書き込めません");
    if (::fchmod(fd, mode) != 0) return fail(cannotWrite, errno);
    if (int err = WriteAll(fd, bytes.constData(), bytes.size())) return fail(cannotWrite, err);
    if (::fsync(fd) != 0) return fail(cannotWrite, errno);
    const int written = fd;
    fd = -1;
    if (::close(written) != 0) return fail(cannotWrite, errno);
    if (::rename(temp.constData(), target.constData()) != 0) {
        return fail(QStringLiteral("置き換えられません"), errno);
    }
    // The new bytes are in place; what can still fail is making the folder's
    // entry safe on the disk.
    if (int err = fsyncPath(dir, O_RDONLY | O_DIRECTORY)) {
        return StoreError{name, 0, SystemReason(err), true};
    }
    return Status::ok();
}

Status WriteFileAtomically(const QString& absolutePath, const QByteArray& bytes) {
    return ReplaceFileAtPath(absolutePath, bytes, QString(), absolutePath);
}

Status CopyNewFile(const QString& sourcePath, const QString& targetPath) {
    // Not blocking: a pipe in a file's place is refused, not waited on.
    const int in = ::open(NativePath(sourcePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return IoError(sourcePath, QStringLiteral("読み込めません"), errno);
    struct stat st {};
    if (::fstat(in, &st) != 0) {
        const int err = errno;
        ::close(in);
        return IoError(sourcePath, QStringLiteral("読み込めません"), err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(in);
        return IoError(sourcePath, QStringLiteral("読み込めません"), EISDIR);
    }
    const QByteArray target = NativePath(targetPath);
    const int out =
        ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return IoError(targetPath, QStringLiteral("作れません"), err);
    }
    auto fail = [&](const QString& file, const QString& what, int err) -> Status {
        ::close(in);
        ::close(out);
        ::unlink(target.constData());
        return IoError(file, what, err);
    };
    // In the kernel where it can; plain reads and writes where it cannot.
    bool plain = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) continue;
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) {
            plain = true;
            break;
        }
        return fail(targetPath, QStringLiteral("書き込めません"), errno);
    }
    if (plain) {
        if (::lseek(in, 0, SEEK_SET) < 0 || ::ftruncate(out, 0) != 0 ||
            ::lseek(out, 0, SEEK_SET) < 0) {
            return fail(targetPath, QStringLiteral("書き込めません"), errno);
        }
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(in, chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                return fail(sourcePath, QStringLiteral("読み込めません"), errno);
            }
            if (n == 0) break;
            if (int err = WriteAll(out, chunk, n)) {
                return fail(targetPath, QStringLiteral("書き込めません"), err);
            }
        }
    }
    ::close(in);
    if (::close(out) != 0) {
        const int err = errno;
        ::unlink(target.constData());
        return IoError(targetPath, QStringLiteral("書き込めません"), err);
    }
    return Status::ok();
}

Status LinkNewFile(const QString& sourcePath, const QString& targetPath) {
    const QByteArray source = NativePath(sourcePath);
    struct stat st {};
    // Not opened: a pipe is refused by its kind, without waiting on it.
    if (::stat(source.constData(), &st) != 0) {
        return IoError(sourcePath, QStringLiteral("読み込めません"), errno);
    }
    if (!S_ISREG(st.st_mode)) return IoError(sourcePath, QStringLiteral("読み込めません"), EISDIR);
    // A symbolic link gives its target's bytes, as a copy would.
    if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, NativePath(targetPath).constData(),
                 AT_SYMLINK_FOLLOW) == 0) {
        return Status::ok();
    }
    switch (errno) {
        case EPERM:  // no such names here (FAT), or a file of another user
        case EOPNOTSUPP:
        case EXDEV:
        case EMLINK:  // too many names already
        case ENOSYS:
            return CopyNewFile(sourcePath, targetPath);
        default:
            return IoError(targetPath, QStringLiteral("作れません"), errno);
    }
}

Status LinkNewFiles(const QString& fromFolder, const QStringList& names, const QString& toFolder,
                    const std::function<bool(int)>& progress, bool* stopped,
                    const std::vector<bool>& listedAsFile) {
    if (stopped) *stopped = false;
    // Names relative to the two open folders: no path is walked per file.
    const int from = ::open(NativePath(fromFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (from < 0) return IoError(fromFolder, QStringLiteral("開けません"), errno);
    const int to = ::open(NativePath(toFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (to < 0) {
        const int err = errno;
        ::close(from);
        return IoError(toFolder, QStringLiteral("開けません"), err);
    }
    Status status;
    int done = 0;
    for (const QString& name : names) {
        const QByteArray native = NativePath(name);
        const size_t i = static_cast<size_t>(done);
        const bool regular = i < listedAsFile.size() && listedAsFile[i];
        struct stat st {};
        // Not opened: a pipe is refused by its kind, without waiting on it.
        if (!regular && ::fstatat(from, native.constData(), &st, 0) != 0) {
            status = IoError(fromFolder + QLatin1Char('/') + name, QStringLiteral("読み込めません"),
                             errno);
            break;
        }
        // A folder in a file's place holds nothing of the catalogue.
        if (regular || !S_ISDIR(st.st_mode)) {
            if (!regular && !S_ISREG(st.st_mode)) {
                status = IoError(fromFolder + QLatin1Char('/') + name,
                                 QStringLiteral("読み込めません"), EISDIR);
                break;
            }
            // A symbolic link gives its target's bytes, as a copy would.
            if (::linkat(from, native.constData(), to, native.constData(), AT_SYMLINK_FOLLOW) !=
                0) {
                status = LinkNewFile(fromFolder + QLatin1Char('/') + name,
                                     toFolder + QLatin1Char('/') + name);
                if (!status) break;
            }
        }
        ++done;
        if (progress && !progress(done)) {
            if (stopped) *stopped = true;
            break;
        }
    }
    ::close(from);
    ::close(to);
    return status;
}

Status SyncPaths(const QStringList& paths) {
    for (const QString& path : paths) {
        if (int err = fsyncPath(path, O_RDONLY)) {
            return IoError(path, QStringLiteral("確定できません"), err);
        }
    }
    return Status::ok();
}

Status SyncFileSystem(const QString& path) {
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return IoError(path, QStringLiteral("確定できません"), errno);
    int err = 0;
    if (::syncfs(fd) != 0) err = errno;
    ::close(fd);
    if (err) return IoError(path, QStringLiteral("確定できません"), err);
    return Status::ok();
}

}  // namespace store
