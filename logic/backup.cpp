#include "logic/backup.h"

#include <QFileInfo>

#include "history/history.h"
#include "logic/new_start.h"
#include "store/file_ops.h"
#include "store/masters.h"

namespace logic {
namespace {

// A backup while it is filled: a temporary folder of the working folder.
class Building {
public:
    Building(store::WorkingFolder& folder, const QDateTime& when)
        : folder_(folder), name_(BackupFolderName(when)) {}
    ~Building() {
        // A temporary that cannot go now goes at the next start.
        if (!temporary_.isEmpty()) (void)folder_.removeTemporaryFolder(temporary_);
    }
    Building(const Building&) = delete;
    Building& operator=(const Building&) = delete;

    store::Status Begin() {
        if (folder_.makeTemporaryFolder(temporary_)) return store::Status::ok();
        return store::StoreError{name_, 0, QStringLiteral("バックアップ用のフォルダを作れません")};
    }

    // Copies of the entries that are files (a folder in a file's place holds
    // nothing of the catalogue).
    store::Status Copy(const QStringList& entries) {
        for (const QString& entry : entries) {
            const QString from = folder_.path() + u'/' + entry;
            if (QFileInfo(from).isDir()) continue;
            copies_ << Path() + u'/' + entry;
            if (store::Status s = store::CopyNewFile(from, copies_.last()); !s) return s;
        }
        return store::Status::ok();
    }

    store::Status Link(const QStringList& entries, const std::function<bool(int)>& progress,
                       bool* stopped) {
        return store::LinkNewFiles(folder_.path(), entries, Path(), progress, stopped,
                                   folder_.listedAsFiles(entries));
    }

    // The copies and the new names on the disk (each synced, or the whole
    // file system at once), then the folder named after the moment.
    BackupResult Finish(bool syncFileSystem) {
        const store::Status synced =
            syncFileSystem ? store::SyncFileSystem(Path()) : store::SyncPaths(copies_ << Path());
        if (!synced) return {synced, {}};
        for (int k = 1; k <= 99; ++k) {
            const QString name = k == 1 ? name_ : name_ + u'_' + QString::number(k);
            bool taken = false;
            const store::Status named = folder_.nameFolder(temporary_, name, &taken);
            if (taken) continue;
            if (named.isWritten()) temporary_.clear();
            if (!named) return {named, {}};
            return {store::Status::ok(), name};
        }
        return {store::StoreError{name_, 0, QStringLiteral("バックアップ用のフォルダを作れません")},
                {}};
    }

private:
    QString Path() const { return folder_.path() + u'/' + temporary_; }

    store::WorkingFolder& folder_;
    const QString name_;  // the moment's
    QString temporary_;
    QStringList copies_;
};

}  // namespace

QString BackupFolderName(const QDateTime& when) {
    return QStringLiteral("バックアップ_") + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

BackupResult BackUpBeforeClearing(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                                  const QDateTime& when, const Progress& progress) {
    // The program's own files stay in the folder after a clearing (the masters
    // and the settings unchanged): their backups are copies of their own. The
    // files of the titles go with the clearing, so the backup takes them over
    // as second names of the same files, without copying a byte.
    const QStringList kept = folder.presentEntries(
        {store::kDataFile, history::kHistoryFile, store::kEvaluationMasterFile,
         store::kOwnershipMasterFile, store::kSettingsFileWrite});
    const QStringList cleared = FilesOfNewStart(catalogue, folder);
    const int total = int(kept.size() + cleared.size());

    Building backup(folder, when);
    if (store::Status s = backup.Begin(); !s) return {s, {}};
    if (store::Status s = backup.Copy(kept); !s) return {s, {}};
    if (progress && !progress(int(kept.size()), total)) return {store::Status::ok(), {}, true};
    const int before = int(kept.size());
    std::function<bool(int)> told;
    if (progress) told = [&](int done) { return progress(before + done, total); };
    bool stopped = false;
    if (store::Status s = backup.Link(cleared, told, &stopped); !s) return {s, {}};
    if (stopped) return {store::Status::ok(), {}, true};
    return backup.Finish(false);
}

BackupResult BackUpDataAndHistory(store::WorkingFolder& folder, const QDateTime& when) {
    Building backup(folder, when);
    if (store::Status s = backup.Begin(); !s) return {s, {}};
    if (store::Status s =
            backup.Copy(folder.presentEntries({store::kDataFile, history::kHistoryFile}));
        !s) {
        return {s, {}};
    }
    // Two files: one sync of the file system, as the import's side texts get.
    return backup.Finish(true);
}

}  // namespace logic
