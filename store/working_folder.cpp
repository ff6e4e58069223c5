#include "store/working_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/text_index.h"

namespace store {
namespace {

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

StoreError ioError(const QString& file, const QString& what, int err) {
    return StoreError{file, 0,
                      what + QStringLiteral("（") + systemReason(err) + QStringLiteral("）")};
}

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// Modification stamp of the folder in nanoseconds, or -1 when it cannot be read.
qint64 folderStamp(const QString& path) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// close is never retried on Linux: the descriptor is gone even on EINTR.
int closeChecked(int fd) {
    return ::close(fd);
}

// Writes every byte; 0 or the errno of the failing write.
int writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
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

int fsyncFolder(const QString& path) {
    int fd = ::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    if (::fsync(fd) != 0) err = errno;
    if (closeChecked(fd) != 0 && err == 0) err = errno;
    return err;
}

}  // namespace

WorkingFolder::WorkingFolder(QString absolutePath) : path_(std::move(absolutePath)) {
    while (path_.size() > 1 && path_.endsWith(QLatin1Char('/'))) path_.chop(1);
}

bool WorkingFolder::isSafeName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == QChar(0)) return false;
    }
    return true;
}

void WorkingFolder::refreshListing() const {
    const qint64 stamp = folderStamp(path_);
    if (stamp == listingStamp_ && stamp != -1) return;
    listing_.clear();
    ++listingGeneration_;
    listingStamp_ = stamp;
    DIR* dir = ::opendir(nativePath(path_).constData());
    if (!dir) return;
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        const QString name = QFile::decodeName(n);
        listing_[name.toCaseFolded()].append(name);
    }
    ::closedir(dir);
}

void WorkingFolder::noteCreated(const QString& fileName) const {
    QStringList& names = listing_[fileName.toCaseFolded()];
    if (names.contains(fileName)) return;
    names.append(fileName);
    ++listingGeneration_;
}

void WorkingFolder::noteRemoved(const QString& fileName) const {
    const QString key = fileName.toCaseFolded();
    auto it = listing_.find(key);
    if (it == listing_.end()) return;
    if (it->removeAll(fileName) > 0) ++listingGeneration_;
    if (it->isEmpty()) listing_.erase(it);
}

// Runs a change of the folder made by this layer and keeps the cached listing
// current without listing the folder again: when the listing was fresh before
// the change, it takes the folder's new stamp after it.
template <typename Change>
static auto keepingListing(const QString& path, qint64& stamp, Change change) {
    const bool fresh = stamp != -1 && folderStamp(path) == stamp;
    auto result = change();
    if (fresh) stamp = folderStamp(path);
    detail::ClearUpperVectorState();  // after the system calls, see text_index.h
    return result;
}

std::optional<QString> WorkingFolder::resolve(const QString& name) const {
    if (!isSafeName(name)) return std::nullopt;
    refreshListing();
    auto it = listing_.constFind(name.toCaseFolded());
    if (it != listing_.constEnd() && !it->isEmpty()) {
        if (it->contains(name)) return path_ + QLatin1Char('/') + name;
        QStringList names = *it;
        std::sort(names.begin(), names.end());
        return path_ + QLatin1Char('/') + names.first();
    }
    return path_ + QLatin1Char('/') + name;
}

bool WorkingFolder::exists(const QString& name) const {
    if (!isSafeName(name)) return false;
    refreshListing();
    auto it = listing_.constFind(name.toCaseFolded());
    if (it == listing_.constEnd() || it->isEmpty()) return false;
    // Confirm with the file system: the listing may lag behind other programs.
    const auto full = resolve(name);
    struct stat st {};
    return full && ::stat(nativePath(*full).constData(), &st) == 0;
}

Status WorkingFolder::read(const QString& name, QByteArray& out, bool* missing) const {
    out.clear();
    if (missing) *missing = false;
    const auto full = resolve(name);
    if (!full) {
        if (missing) *missing = true;
        return StoreError{name, 0, QStringLiteral("作業フォルダの外を指す名前です")};
    }
    int fd = ::open(nativePath(*full).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT && missing) *missing = true;
        if (err == ENOENT) {
            return StoreError{name, 0, QStringLiteral("ファイルがありません")};
        }
        return ioError(name, QStringLiteral("開けません"), err);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        closeChecked(fd);
        return ioError(name, QStringLiteral("読み込めません"), err);
    }
    if (S_ISDIR(st.st_mode)) {
        closeChecked(fd);
        return ioError(name, QStringLiteral("読み込めません"), EISDIR);
    }
    QByteArray data;
    data.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == data.size()) data.resize(data.size() + 65536);  // grew meanwhile
        ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            closeChecked(fd);
            return ioError(name, QStringLiteral("読み込めません"), err);
        }
        if (n == 0) break;
        got += n;
    }
    closeChecked(fd);
    data.truncate(got);
    out = std::move(data);
    detail::ClearUpperVectorState();
    return Status::ok();
}

Status WorkingFolder::refuseWrite(const QString& name) const {
    if (!isSafeName(name)) {
        return StoreError{name, 0, QStringLiteral("作業フォルダの外を指す名前には書き込めません")};
    }
    if (isUnwritable(name)) {
        return StoreError{name, 0,
                          QStringLiteral("読み込みに失敗したファイルなので、上書きしません。"
                                         "ファイルを直してからプログラムを起動し直してください")};
    }
    return Status::ok();
}

Status WorkingFolder::replace(const QString& name, const QByteArray& bytes) {
    if (Status s = refuseWrite(name); !s) return s;
    const QString target = *resolve(name);
    const QString targetName = target.mid(path_.size() + 1);
    return keepingListing(path_, listingStamp_, [&]() -> Status {
        QByteArray tmpl = nativePath(path_ + QStringLiteral("/.hoshi-tmp-XXXXXX"));
        int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
        if (fd < 0) return ioError(name, QStringLiteral("一時ファイルを作れません"), errno);
        auto fail = [&](const QString& what, int err) -> Status {
            if (fd >= 0) closeChecked(fd);
            ::unlink(tmpl.constData());
            return ioError(name, what, err);
        };
        struct stat old {};
        const mode_t mode =
            ::stat(nativePath(target).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        if (::fchmod(fd, mode) != 0) return fail(QStringLiteral("書き込めません"), errno);
        if (int err = writeAll(fd, bytes.constData(), bytes.size())) {
            return fail(QStringLiteral("書き込めません"), err);
        }
        if (::fsync(fd) != 0) return fail(QStringLiteral("書き込めません"), errno);
        const int cfd = fd;
        fd = -1;
        if (closeChecked(cfd) != 0) return fail(QStringLiteral("書き込めません"), errno);
        if (::rename(tmpl.constData(), nativePath(target).constData()) != 0) {
            return fail(QStringLiteral("置き換えられません"), errno);
        }
        noteCreated(targetName);
        if (int err = fsyncFolder(path_)) {
            return ioError(name, QStringLiteral("フォルダを確定できません"), err);
        }
        return Status::ok();
    });
}

Status WorkingFolder::replaceVia(const QString& name, const QString& temporaryName,
                                 const QByteArray& bytes) {
    if (Status s = refuseWrite(name); !s) return s;
    if (Status s = refuseWrite(temporaryName); !s) return s;
    const QString target = *resolve(name);
    const QString targetName = target.mid(path_.size() + 1);
    const QString temp = *resolve(temporaryName);
    const QString tempName = temp.mid(path_.size() + 1);
    return keepingListing(path_, listingStamp_, [&]() -> Status {
        const QByteArray tempNative = nativePath(temp);
        struct stat old {};
        const mode_t mode =
            ::stat(nativePath(target).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        int fd = ::open(tempNative.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (fd < 0) return ioError(temporaryName, QStringLiteral("作れません"), errno);
        noteCreated(tempName);
        auto fail = [&](const QString& file, const QString& what, int err) -> Status {
            if (fd >= 0) closeChecked(fd);
            ::unlink(tempNative.constData());
            noteRemoved(tempName);
            return ioError(file, what, err);
        };
        if (int err = writeAll(fd, bytes.constData(), bytes.size())) {
            return fail(temporaryName, QStringLiteral("書き込めません"), err);
        }
        if (::fsync(fd) != 0) return fail(temporaryName, QStringLiteral("書き込めません"), errno);
        const int cfd = fd;
        fd = -1;
        if (closeChecked(cfd) != 0) {
            return fail(temporaryName, QStringLiteral("書き込めません"), errno);
        }
        if (::rename(tempNative.constData(), nativePath(target).constData()) != 0) {
            return fail(name, QStringLiteral("置き換えられません"), errno);
        }
        noteRemoved(tempName);
        noteCreated(targetName);
        if (int err = fsyncFolder(path_)) {
            return ioError(name, QStringLiteral("フォルダを確定できません"), err);
        }
        return Status::ok();
    });
}

Status WorkingFolder::append(const QString& name, const QByteArray& bytes) {
    if (Status s = refuseWrite(name); !s) return s;
    const QString target = *resolve(name);
    const QString targetName = target.mid(path_.size() + 1);
    return keepingListing(path_, listingStamp_, [&]() -> Status {
        const QByteArray native = nativePath(target);
        int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        bool created = false;
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            created = fd >= 0;
        }
        if (fd < 0) return ioError(name, QStringLiteral("開けません"), errno);
        if (created) noteCreated(targetName);
        const off_t oldSize = ::lseek(fd, 0, SEEK_END);
        if (oldSize < 0) {
            const int err = errno;
            closeChecked(fd);
            return ioError(name, QStringLiteral("書き込めません"), err);
        }
        auto fail = [&](int err) -> Status {
            // Cut back to the old length so that no half record is left.
            if (created) {
                ::unlink(native.constData());
                noteRemoved(targetName);
            } else if (::ftruncate(fd, oldSize) != 0) {
                const int terr = errno;
                closeChecked(fd);
                return ioError(name,
                               QStringLiteral("書き込めず、元の長さにも戻せません（") +
                                   systemReason(err) + QStringLiteral("）"),
                               terr);
            } else {
                ::fsync(fd);
            }
            closeChecked(fd);
            return ioError(name, QStringLiteral("書き込めません"), err);
        };
        if (int err = writeAll(fd, bytes.constData(), bytes.size())) return fail(err);
        if (::fsync(fd) != 0) return fail(errno);
        if (closeChecked(fd) != 0) {
            const int err = errno;
            fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
            if (fd >= 0) return fail(err);
            return ioError(name, QStringLiteral("書き込めません"), err);
        }
        if (created) {
            if (int err = fsyncFolder(path_)) {
                return ioError(name, QStringLiteral("フォルダを確定できません"), err);
            }
        }
        return Status::ok();
    });
}

Status WorkingFolder::remove(const QString& name) {
    if (Status s = refuseWrite(name); !s) return s;
    const QString target = *resolve(name);
    const QString targetName = target.mid(path_.size() + 1);
    return keepingListing(path_, listingStamp_, [&]() -> Status {
        if (::unlink(nativePath(target).constData()) != 0) {
            if (errno == ENOENT) {
                noteRemoved(targetName);
                return Status::ok();
            }
            return ioError(name, QStringLiteral("削除できません"), errno);
        }
        noteRemoved(targetName);
        if (int err = fsyncFolder(path_)) {
            return ioError(name, QStringLiteral("フォルダを確定できません"), err);
        }
        return Status::ok();
    });
}

Status WorkingFolder::removeMany(const QStringList& names) {
    // Every name is resolved before the first deletion changes the folder.
    QStringList targets;
    for (const QString& name : names) {
        if (refuseWrite(name).isOk()) targets << *resolve(name);
    }
    return keepingListing(path_, listingStamp_, [&]() -> Status {
        bool removed = false;
        for (const QString& target : targets) {
            if (::unlink(nativePath(target).constData()) != 0) continue;
            noteRemoved(target.mid(path_.size() + 1));
            removed = true;
        }
        if (!removed) return Status::ok();
        if (int err = fsyncFolder(path_)) {
            return ioError(path_, QStringLiteral("フォルダを確定できません"), err);
        }
        return Status::ok();
    });
}

void WorkingFolder::markUnwritable(const QString& name) {
    unwritable_.insert(name.toCaseFolded());
}

bool WorkingFolder::isUnwritable(const QString& name) const {
    return unwritable_.contains(name.toCaseFolded());
}

QStringList WorkingFolder::list(const QString& prefix, const QString& suffix) const {
    refreshListing();
    const QString p = prefix.toCaseFolded();
    const QString s = suffix.toCaseFolded();
    PatternListing& cached = patternListings_[p + QLatin1Char('/') + s];
    if (cached.generation == listingGeneration_ && listingGeneration_ != 0) return cached.names;
    QStringList result;
    for (auto it = listing_.constBegin(); it != listing_.constEnd(); ++it) {
        if (it.key().size() >= p.size() + s.size() && it.key().startsWith(p) &&
            it.key().endsWith(s)) {
            result += it.value();
        }
    }
    std::sort(result.begin(), result.end());
    cached = {listingGeneration_, result};
    return result;
}

}  // namespace store
