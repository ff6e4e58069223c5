#include "store/seen_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QHashFunctions>
#include <cerrno>

#include "store/file_ops.h"
#include "store/working_folder.h"

namespace store {
namespace {

// The journal of replacePair: one line per file, "temporary<TAB>target<TAB>size".
constexpr char kPairJournal[] = ".hoshi-tmp-pair";

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

bool statFingerprint(const QString& path, Fingerprint& fp) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0) return false;
    fp.size = st.st_size;
    fp.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    fp.inode = st.st_ino;
    fp.device = st.st_dev;
    return true;
}

StoreError ioError(const QString& file, const QString& what, int err) {
    return StoreError{file, 0,
                      what + QStringLiteral("（") + SystemReason(err) + QStringLiteral("）")};
}

// A new file of the folder with the bytes, synced; 0 or the errno.
int writeSynced(const QByteArray& path, const QByteArray& bytes, mode_t mode) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return errno;
    int err = WriteAll(fd, bytes.constData(), bytes.size());
    if (!err && ::fchmod(fd, mode) != 0) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    return err;
}

int syncFolderAt(const QString& path) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = ::fsync(fd) != 0 ? errno : 0;
    if (::close(fd) != 0 && !err) err = errno;
    return err;
}

}  // namespace

QStringList SyncConflictCopies(const WorkingFolder& folder) {
    QStringList found;
    for (const QString& stem : {QStringLiteral("データ"), QStringLiteral("鑑賞履歴")}) {
        found += folder.list(stem + QStringLiteral(".sync-conflict-"), QStringLiteral(".TXT"));
        for (const QString& name :
             folder.list(stem + QStringLiteral(" ("), QStringLiteral(").TXT"))) {
            if (name.contains(QStringLiteral("conflicted copy"), Qt::CaseInsensitive))
                found << name;
        }
    }
    found.sort();
    return found;
}

size_t HashBytes(const QByteArray& bytes) {
    return qHash(bytes, 0);
}

bool SeenFile::leftOnDisk(const QByteArray& bytes) {
    if (bytes.size() != onDisk.size()) return false;
    if (!hashed) {
        disk.hash = HashBytes(onDisk);
        hashed = true;
    }
    return HashBytes(bytes) == disk.hash && bytes == onDisk;
}

Status WorkingFolder::load(const QString& name, QByteArray& out, bool* missing) {
    Status s = read(name, out, missing);
    const QString key = name.toCaseFolded();
    if (s.isOk() && tracked_.contains(key)) {
        SeenFile seen;
        if (statFingerprint(*resolve(name), seen.disk)) {
            seen.onDisk = out;
            seen.base = out;
            seen_.insert(key, seen);
        }
    }
    return s;
}

void WorkingFolder::keepTrackOf(const QStringList& names) {
    tracked_.clear();
    for (const QString& name : names) tracked_.insert(name.toCaseFolded(), name);
    for (auto it = seen_.begin(); it != seen_.end();) {
        it = tracked_.contains(it.key()) ? std::next(it) : seen_.erase(it);
    }
}

std::vector<OutsideChange> WorkingFolder::takeOutsideChanges() {
    return std::exchange(outside_, {});
}

std::optional<Fingerprint> WorkingFolder::fingerprint(const QString& name, bool withHash) const {
    const auto full = resolve(name);
    Fingerprint fp;
    if (!full || !statFingerprint(*full, fp)) return std::nullopt;
    if (withHash) {
        QByteArray bytes;
        if (read(name, bytes)) fp.hash = HashBytes(bytes);
    }
    return fp;
}

QStringList WorkingFolder::changedFiles() const {
    QStringList changed;
    for (auto it = seen_.begin(); it != seen_.end(); ++it) {
        const QString name = tracked_.value(it.key());
        Fingerprint now;
        const bool present = statFingerprint(*resolve(name), now);
        if (it->merged || !present) {
            changed << name;
            continue;
        }
        if (now.sameStat(it->disk)) continue;
        QByteArray bytes;
        if (!read(name, bytes) || !it->leftOnDisk(bytes)) {
            changed << name;
            continue;
        }
        // The same bytes written again (a sync tool): no change.
        const size_t hash = it->disk.hash;
        it->disk = now;
        it->disk.hash = hash;
    }
    changed.sort();
    return changed;
}

// One stat when the file is what was seen; else its bytes are read and, when
// they differ from what memory holds, merged with what is to be written.
Status WorkingFolder::checkBeforeWrite(const QString& name, const QString& target,
                                       QByteArray& bytes, bool& merged) {
    merged = false;
    auto it = seen_.find(name.toCaseFolded());
    if (it == seen_.end()) return Status::ok();
    Fingerprint now;
    // Gone meanwhile: the write puts it back.
    if (!statFingerprint(target, now)) return Status::ok();
    if (!it->merged && now.sameStat(it->disk)) return Status::ok();
    QByteArray theirs;
    if (Status s = read(name, theirs); !s) return s;
    if (!it->merged && it->leftOnDisk(theirs)) return Status::ok();
    if (!merger_) return Status::ok();
    Merged m = merger_(tracked_.value(it.key()), it->base, bytes, theirs);
    if (!m.status) return m.status;
    bytes = std::move(m.bytes);
    merged = true;
    outside_.push_back({tracked_.value(it.key()), m.conflicts});
    return Status::ok();
}

// Memory holds what was written, unless it was merged: then the base stays
// what memory holds until the reload, so that a second write merges again.
void WorkingFolder::noteWritten(const QString& name, const QString& target, const QByteArray& bytes,
                                bool merged) {
    const QString key = name.toCaseFolded();
    if (!tracked_.contains(key)) return;
    auto it = seen_.find(key);
    if (it == seen_.end()) {
        if (merged) return;
        it = seen_.insert(key, SeenFile{});
        it->base = bytes;
    }
    Fingerprint fp;
    if (!statFingerprint(target, fp)) {
        seen_.erase(it);
        return;
    }
    it->disk = fp;
    it->onDisk = bytes;
    it->hashed = false;
    if (merged)
        it->merged = true;
    else
        it->base = bytes;
}

Status WorkingFolder::replacePair(const QString& first, const QByteArray& firstBytes,
                                  const QString& second, const QByteArray& secondBytes) {
    for (const QString& n : {first, second}) {
        if (Status s = refuseWrite(n); !s) return s;
    }
    struct Part {
        QString name, target;
        QByteArray bytes, temporary;
        bool merged = false;
    };
    Part parts[2] = {{first, *resolve(first), firstBytes, {}},
                     {second, *resolve(second), secondBytes, {}}};
    for (Part& p : parts) {
        if (Status s = checkBeforeWrite(p.name, p.target, p.bytes, p.merged); !s) return s;
    }
    const QByteArray journal = nativePath(path_ + QLatin1Char('/') + QLatin1String(kPairJournal));
    // The folder is listed again after the pair.
    Status result = [&]() -> Status {
        auto dropAll = [&](const QString& name, const QString& what, int err) -> Status {
            for (const Part& p : parts) {
                if (!p.temporary.isEmpty()) ::unlink(p.temporary.constData());
            }
            ::unlink(journal.constData());
            return ioError(name, what, err);
        };
        QByteArray record;
        for (int i = 0; i < 2; ++i) {
            Part& p = parts[i];
            struct stat old {};
            const QByteArray targetNative = nativePath(p.target);
            const mode_t mode =
                ::stat(targetNative.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
            QByteArray name = nativePath(path_ + QStringLiteral("/.hoshi-tmp-XXXXXX"));
            const int fd = ::mkostemp(name.data(), O_CLOEXEC);
            if (fd < 0) return dropAll(p.name, QStringLiteral("一時ファイルを作れません"), errno);
            ::close(fd);
            p.temporary = name;
            if (int err = writeSynced(name, p.bytes, mode)) {
                return dropAll(p.name, QStringLiteral("書き込めません"), err);
            }
            record += name.mid(name.lastIndexOf('/') + 1) + '\t' +
                      targetNative.mid(targetNative.lastIndexOf('/') + 1) + '\t' +
                      QByteArray::number(p.bytes.size()) + '\n';
        }
        if (int err = writeSynced(journal, record, 0600)) {
            return dropAll(first, QStringLiteral("書き込めません"), err);
        }
        if (int err = syncFolderAt(path_)) {
            return dropAll(first, QStringLiteral("書き込めません"), err);
        }
        // From here on the pair is decided: a start after a crash finishes it.
        for (const Part& p : parts) {
            if (::rename(p.temporary.constData(), nativePath(p.target).constData()) != 0) {
                const int err = errno;
                (void)finishPair();
                return ioError(p.name, QStringLiteral("置き換えられません"), err);
            }
            noteCreated(p.target.mid(path_.size() + 1));
        }
        if (int err = syncFolderAt(path_)) return StoreError{first, 0, SystemReason(err), true};
        if (::unlink(journal.constData()) != 0 && errno != ENOENT) {
            return StoreError{first, 0, SystemReason(errno), true};
        }
        return Status::ok();
    }();
    listingStamp_ = -1;
    if (result.isWritten()) {
        for (const Part& p : parts) noteWritten(p.name, p.target, p.bytes, p.merged);
    }
    if ((parts[0].merged || parts[1].merged) && heard_) heard_();
    return result;
}

// A journal found at the opening: the temporaries it names that are complete
// take their targets' names (a missing one was renamed already); when one is
// incomplete nothing is renamed. The journal then goes, and the temporaries
// left are removed with the other leftovers.
bool WorkingFolder::finishPair() {
    const QString journalPath = path_ + QLatin1Char('/') + QLatin1String(kPairJournal);
    QFile journal(journalPath);
    if (!journal.open(QIODevice::ReadOnly)) return !journal.exists();
    const QList<QByteArray> lines = journal.readAll().split('\n');
    journal.close();
    struct Rename {
        QByteArray from, to;
    };
    std::vector<Rename> renames;
    bool complete = true;
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) continue;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 3 || f[0].contains('/') || f[1].contains('/') || f[1].startsWith('.')) {
            complete = false;
            break;
        }
        const QByteArray from = nativePath(path_) + '/' + f[0];
        struct stat st {};
        if (::stat(from.constData(), &st) != 0) continue;  // renamed before the crash
        if (st.st_size != f[2].toLongLong()) complete = false;
        renames.push_back({from, nativePath(path_) + '/' + f[1]});
    }
    if (complete) {
        for (const Rename& r : renames) {
            // Tried again at the next start; the temporaries stay till then.
            if (::rename(r.from.constData(), r.to.constData()) != 0) return false;
        }
    }
    (void)syncFolderAt(path_);
    ::unlink(nativePath(journalPath).constData());
    (void)syncFolderAt(path_);
    listingStamp_ = -1;
    return true;
}

}  // namespace store
