#include "store/working_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "store/file_ops.h"

namespace store {
namespace {

// The temporaries of replace(): kTemporaryPrefix and the six characters
// mkostemp puts in place of "XXXXXX".
constexpr int kTemporaryRandom = 6;
// The temporary folders of makeTemporaryFolder(): their own prefix, so that a
// folder of a file temporary's name, which the program never makes, stays.
constexpr char kTemporaryFolderPrefix[] = ".hoshi-tmp-dir-";

// Modification stamp of the folder in nanoseconds, or -1 when it cannot be read.
qint64 folderStamp(const QString& path) {
    struct stat st {};
    if (::stat(NativePath(path).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// close is never retried on Linux: the descriptor is gone even on EINTR.
int fsyncFolder(const QString& path) {
    int fd = ::open(NativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    if (::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

// A name the program makes: the prefix and the six characters mkostemp or
// mkdtemp puts in place of "XXXXXX".
bool isOwnName(const char* name, const char* prefix) {
    const size_t length = std::strlen(prefix);
    if (std::strncmp(name, prefix, length) != 0) return false;
    if (std::strlen(name) != length + kTemporaryRandom) return false;
    for (int i = 0; i < kTemporaryRandom; ++i) {
        const char c = name[length + static_cast<size_t>(i)];
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) return false;
    }
    return true;
}

bool isOwnTemporary(const char* name) {
    return isOwnName(name, kTemporaryPrefix);
}

bool isOwnTemporaryFolder(const char* name) {
    return isOwnName(name, kTemporaryFolderPrefix);
}

// Deletes a temporary folder of the program's own: the regular files in it
// (copies and second names of the catalogue's files), then the folder. A
// folder holding anything else stays. False when it did not go.
bool removeFolderOfFiles(int parent, const char* name) {
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (dirent* e = ::readdir(dir)) {
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            (void)::unlinkat(fd, e->d_name, 0);
        }
    }
    ::closedir(dir);
    return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

}  // namespace

WorkingFolder::WorkingFolder(QString absolutePath) : path_(std::move(absolutePath)) {
    while (path_.size() > 1 && path_.endsWith(QLatin1Char('/'))) path_.chop(1);
    // The temporaries of a pair a crash interrupted stay until it is finished.
    if (finishPair()) removeLeftovers();
}

bool WorkingFolder::isSafeName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == QChar(0)) return false;
    }
    return true;
}

bool WorkingFolder::fitsFileName(const QString& name) {
    return NativePath(name).size() <= NAME_MAX;
}

void WorkingFolder::refreshListing() const {
    const qint64 stamp = folderStamp(path_);
    if (stamp == listingStamp_ && stamp != -1) return;
    listing_.clear();
    notRegular_.clear();
    ++listingGeneration_;
    listingStamp_ = stamp;
    DIR* dir = ::opendir(NativePath(path_).constData());
    if (!dir) return;
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        const QString name = QFile::decodeName(n);
        listing_[name.toCaseFolded()].append(name);
        // The listing tells each entry's kind (most file systems do), which
        // spares a look at every file where only regular files are wanted.
        if (e->d_type != DT_REG) notRegular_.insert(name);
    }
    ::closedir(dir);
}

void WorkingFolder::noteCreated(const QString& fileName) const {
    notRegular_.remove(fileName);  // the layer creates regular files, folders aside
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
// the change, it takes the folder's new stamp after it. A change that failed
// half way may have left anything: the folder is listed again next time.
template <typename Change>
Status WorkingFolder::keepingListing(Change change) {
    const bool fresh = listingStamp_ != -1 && folderStamp(path_) == listingStamp_;
    Status result = change();
    listingStamp_ = fresh && result.isWritten() ? folderStamp(path_) : -1;
    return result;
}

std::optional<QString> WorkingFolder::resolve(const QString& name) const {
    if (!isSafeName(name)) return std::nullopt;
    refreshListing();
    return resolveListed(name);
}

QString WorkingFolder::resolveListed(const QString& name) const {
    return path_ + QLatin1Char('/') + listedEntry(name, name.toCaseFolded());
}

// The entry of the listing a name denotes (key: the name case-folded): the
// exact name first, else the first of its spellings; the name itself when none.
QString WorkingFolder::listedEntry(const QString& name, const QString& key) const {
    auto it = listing_.constFind(key);
    if (it == listing_.constEnd() || it->isEmpty() || it->contains(name)) return name;
    return *std::min_element(it->begin(), it->end());
}

QStringList WorkingFolder::presentEntries(const QStringList& names) const {
    refreshListing();
    QStringList entries;
    entries.reserve(names.size());
    QSet<QString> taken;
    taken.reserve(names.size());
    for (const QString& name : names) {
        if (!isSafeName(name)) continue;
        auto it = listing_.constFind(name.toCaseFolded());
        if (it == listing_.constEnd() || it->isEmpty()) continue;
        QString entry = it->contains(name) ? name : *std::min_element(it->begin(), it->end());
        if (taken.contains(entry)) continue;
        taken.insert(entry);
        entries << std::move(entry);
    }
    return entries;
}

std::vector<bool> WorkingFolder::listedAsFiles(const QStringList& entries) const {
    refreshListing();
    std::vector<bool> files;
    files.reserve(static_cast<size_t>(entries.size()));
    // The entries come from the listing: only the kinds need a look.
    for (const QString& entry : entries) files.push_back(!notRegular_.contains(entry));
    return files;
}

QStringList WorkingFolder::present(const QStringList& names) const {
    refreshListing();
    QStringList found;
    for (const QString& name : names) {
        if (!isSafeName(name)) continue;
        auto it = listing_.constFind(name.toCaseFolded());
        if (it != listing_.constEnd() && !it->isEmpty()) found << name;
    }
    return found;
}

QStringList WorkingFolder::resolveAll(const QStringList& names) const {
    refreshListing();
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names) {
        if (isSafeName(name)) paths << resolveListed(name);
    }
    return paths;
}

bool WorkingFolder::exists(const QString& name) const {
    if (!isSafeName(name)) return false;
    refreshListing();
    auto it = listing_.constFind(name.toCaseFolded());
    if (it == listing_.constEnd() || it->isEmpty()) return false;
    // Confirm with the file system: the listing may lag behind other programs.
    const auto full = resolve(name);
    struct stat st {};
    return full && ::stat(NativePath(*full).constData(), &st) == 0;
}

Status WorkingFolder::read(const QString& name, QByteArray& out, bool* missing) const {
    out.clear();
    if (missing) *missing = false;
    const auto full = resolve(name);
    if (!full) {
        if (missing) *missing = true;
        return StoreError{name, 0, QStringLiteral("作業フォルダの外を指す名前です")};
    }
    int fd = ::open(NativePath(*full).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT && missing) *missing = true;
        if (err == ENOENT) {
            return StoreError{name, 0, QStringLiteral("ファイルがありません")};
        }
        return IoError(name, QStringLiteral("開けません"), err);
    }
    auto fail = [&](int err) -> Status {
        ::close(fd);
        return IoError(name, QStringLiteral("読み込めません"), err);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) return fail(errno);
    if (S_ISDIR(st.st_mode)) return fail(EISDIR);
    QByteArray data;
    data.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == data.size()) {
            // The end is checked on the side, so that a file read whole keeps
            // a buffer of its own size, which a load may keep.
            char more[4096];
            ssize_t n = ::read(fd, more, sizeof more);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return fail(errno);
            if (n == 0) break;
            data.append(more, n);  // grew meanwhile
            got += n;
            continue;
        }
        ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    data.truncate(got);
    out = std::move(data);
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

// After a rename or an unlink the change is in place; what can still fail is
// making the folder's entry safe on the disk.
Status WorkingFolder::syncFolder(const QString& name) const {
    if (int err = fsyncFolder(path_)) return StoreError{name, 0, SystemReason(err), true};
    return Status::ok();
}

Status WorkingFolder::replace(const QString& name, const QByteArray& bytes) {
    return replaceThrough(name, QString(), bytes);
}

Status WorkingFolder::replaceVia(const QString& name, const QString& temporaryName,
                                 const QByteArray& bytes) {
    if (Status s = refuseWrite(temporaryName); !s) return s;
    return replaceThrough(name, temporaryName, bytes);
}

// The temporary is a fresh name of the program's own when temporaryName is
// empty, else that name.
Status WorkingFolder::replaceThrough(const QString& name, const QString& temporaryName,
                                     const QByteArray& ours) {
    if (Status s = refuseWrite(name); !s) return s;
    const QString target = *resolve(name);
    QByteArray bytes = ours;
    bool merged = false;
    if (Status s = checkBeforeWrite(name, target, bytes, merged); !s) return s;
    Status written = replaceChecked(name, target, temporaryName, bytes);
    if (written.isWritten()) noteWritten(name, target, bytes, merged);
    if (merged && heard_) heard_();
    return written;
}

Status WorkingFolder::replaceChecked(const QString& name, const QString& target,
                                     const QString& temporaryName, const QByteArray& bytes) {
    const QString temporary = temporaryName.isEmpty() ? QString() : *resolve(temporaryName);
    return keepingListing([&]() -> Status {
        Status s = ReplaceFileAtPath(target, bytes, temporary, name);
        if (s.isWritten()) noteCreated(target.mid(path_.size() + 1));
        return s;
    });
}

Status WorkingFolder::recoverVia(const QString& name, const QString& temporaryName) {
    if (!exists(temporaryName)) return Status::ok();
    if (exists(name)) {
        // A leftover that cannot go does no harm: the next rewrite replaces it.
        (void)remove(temporaryName);
        return Status::ok();
    }
    if (Status s = refuseWrite(name); !s) return s;
    if (Status s = refuseWrite(temporaryName); !s) return s;
    const QString from = *resolve(temporaryName);
    const QString to = *resolve(name);
    return keepingListing([&]() -> Status {
        if (::rename(NativePath(from).constData(), NativePath(to).constData()) != 0) {
            return IoError(temporaryName, QStringLiteral("元の名前に戻せません"), errno);
        }
        noteRemoved(from.mid(path_.size() + 1));
        noteCreated(to.mid(path_.size() + 1));
        return syncFolder(name);
    });
}

Status WorkingFolder::append(const QString& name, const QByteArray& bytes) {
    if (Status s = refuseWrite(name); !s) return s;
    QByteArray whole;
    bool missing = false;
    if (Status s = read(name, whole, &missing); !s && !missing) return s;
    whole += bytes;
    return replace(name, whole);
}

Status WorkingFolder::remove(const QString& name) {
    if (Status s = refuseWrite(name); !s) return s;
    const QString target = *resolve(name);
    const QString targetName = target.mid(path_.size() + 1);
    return keepingListing([&]() -> Status {
        if (::unlink(NativePath(target).constData()) != 0) {
            if (errno == ENOENT) {
                noteRemoved(targetName);
                return Status::ok();
            }
            return IoError(name, QStringLiteral("削除できません"), errno);
        }
        noteRemoved(targetName);
        return syncFolder(name);
    });
}

void WorkingFolder::removeLeftovers() {
    DIR* dir = ::opendir(NativePath(path_).constData());
    if (!dir) return;
    bool removed = false;
    while (dirent* e = ::readdir(dir)) {
        const bool file = isOwnTemporary(e->d_name);
        if (!file && !isOwnTemporaryFolder(e->d_name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (file && S_ISREG(st.st_mode) && ::unlinkat(::dirfd(dir), e->d_name, 0) == 0) {
            removed = true;
        }
        if (!file && S_ISDIR(st.st_mode) && removeFolderOfFiles(::dirfd(dir), e->d_name)) {
            removed = true;
        }
    }
    ::closedir(dir);
    // Best effort: a leftover that comes back after a crash goes next time.
    if (removed) (void)fsyncFolder(path_);
}

Status WorkingFolder::removeMany(const QStringList& names,
                                 const std::function<void(int, int)>& progress,
                                 QStringList* undeleted) {
    // Every name is resolved before the first deletion changes the folder.
    refreshListing();
    struct Target {
        QString key;
        QString entry;
    };
    std::vector<Target> targets;
    targets.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) {
        if (!isSafeName(name)) continue;
        QString key = name.toCaseFolded();
        if (unwritable_.contains(key)) continue;
        QString entry = listedEntry(name, key);
        targets.push_back({std::move(key), std::move(entry)});
    }
    const int total = static_cast<int>(targets.size());
    return keepingListing([&]() -> Status {
        // Names relative to the open folder: the path is not walked again for
        // every file.
        const int dir = ::open(NativePath(path_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) return IoError(path_, QStringLiteral("開けません"), errno);
        QString last;
        Status failed;
        int done = 0;
        for (const Target& t : targets) {
            const bool gone = ::unlinkat(dir, NativePath(t.entry).constData(), 0) == 0;
            if (!gone && errno != ENOENT) {
                // Told, not passed over: the others still go.
                if (failed.isOk()) {
                    failed = IoError(t.entry, QStringLiteral("削除できません"), errno);
                }
                if (undeleted) *undeleted << t.entry;
            } else if (gone) {
                last = t.entry;
                auto it = listing_.find(t.key);
                if (it != listing_.end() && it->removeAll(t.entry) > 0) {
                    ++listingGeneration_;
                    if (it->isEmpty()) listing_.erase(it);
                }
            }
            if (progress) progress(++done, total);
        }
        int err = 0;
        if (!last.isEmpty() && ::fsync(dir) != 0) err = errno;
        ::close(dir);
        if (!failed.isOk()) return failed;
        if (err) return StoreError{last, 0, SystemReason(err), true};
        return Status::ok();
    });
}

Status WorkingFolder::makeFolder(const QString& name, bool* existed) {
    if (existed) *existed = false;
    if (Status s = refuseWrite(name); !s) return s;
    return keepingListing([&]() -> Status {
        if (::mkdir(NativePath(path_ + QLatin1Char('/') + name).constData(), 0777) != 0) {
            if (existed) *existed = errno == EEXIST;
            return IoError(name, QStringLiteral("フォルダを作れません"), errno);
        }
        noteCreated(name);
        notRegular_.insert(name);
        return Status::ok();
    });
}

Status WorkingFolder::makeTemporaryFolder(QString& name) {
    QByteArray temp = NativePath(path_ + QLatin1Char('/') + QLatin1String(kTemporaryFolderPrefix) +
                                 QString(kTemporaryRandom, QLatin1Char('X')));
    return keepingListing([&]() -> Status {
        if (!::mkdtemp(temp.data())) {
            return IoError(path_, QStringLiteral("フォルダを作れません"), errno);
        }
        name = QFile::decodeName(temp).mid(path_.size() + 1);
        noteCreated(name);
        notRegular_.insert(name);
        return Status::ok();
    });
}

Status WorkingFolder::nameFolder(const QString& temporary, const QString& name, bool* taken) {
    *taken = false;
    if (Status s = refuseWrite(name); !s) return s;
    if (exists(name)) {
        *taken = true;
        return Status::ok();
    }
    const QByteArray from = NativePath(path_ + QLatin1Char('/') + temporary);
    const QByteArray to = NativePath(path_ + QLatin1Char('/') + name);
    return keepingListing([&]() -> Status {
        // Never over a folder of that name that came meanwhile.
        int done =
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (done != 0 && errno == EINVAL) {  // a file system without the flag
            struct stat st {};
            done = ::lstat(to.constData(), &st) == 0 ? (errno = EEXIST, -1)
                                                     : ::rename(from.constData(), to.constData());
        }
        if (done != 0) {
            if (errno != EEXIST && errno != ENOTEMPTY) {
                return IoError(name, QStringLiteral("名前を付けられません"), errno);
            }
            *taken = true;  // nothing changed
            return Status::ok();
        }
        noteRemoved(temporary);
        noteCreated(name);
        notRegular_.insert(name);
        return syncFolder(name);
    });
}

Status WorkingFolder::removeTemporaryFolder(const QString& temporary) {
    if (!isOwnTemporaryFolder(NativePath(temporary).constData())) {
        return StoreError{temporary, 0, QStringLiteral("一時フォルダではありません")};
    }
    return keepingListing([&]() -> Status {
        const int dir = ::open(NativePath(path_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) return IoError(path_, QStringLiteral("開けません"), errno);
        const bool gone = removeFolderOfFiles(dir, NativePath(temporary).constData());
        const int err = errno;
        ::close(dir);
        if (!gone) return IoError(temporary, QStringLiteral("削除できません"), err);
        noteRemoved(temporary);
        return Status::ok();
    });
}

void WorkingFolder::markUnwritable(const QString& name) {
    unwritable_.insert(name.toCaseFolded());
}

void WorkingFolder::clearUnwritable(const QString& name) {
    unwritable_.remove(name.toCaseFolded());
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

Status WorkingFolder::createUnsynced(const QString& name, const QByteArray& bytes, bool* taken) {
    *taken = false;
    if (Status s = refuseWrite(name); !s) return s;
    if (exists(name)) {
        *taken = true;
        return Status::ok();
    }
    const QString target = *resolve(name);
    const QByteArray native = NativePath(target);
    return keepingListing([&]() -> Status {
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno != EEXIST) return IoError(name, QStringLiteral("書き込めません"), errno);
            *taken = true;
            return Status::ok();
        }
        int err = WriteAll(fd, bytes.constData(), bytes.size());
        if (::close(fd) != 0 && err == 0) err = errno;
        if (err != 0) {
            ::unlink(native.constData());
            return IoError(name, QStringLiteral("書き込めません"), err);
        }
        noteCreated(target.mid(path_.size() + 1));
        return Status::ok();
    });
}

}  // namespace store
