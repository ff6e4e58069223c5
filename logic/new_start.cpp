#include "logic/new_start.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "history/history.h"
#include "logic/side_file_lists.h"
#include "store/file_ops.h"
#include "store/masters.h"
#include "store/side_files.h"

namespace logic {
namespace {

const char* const kTitleFileEndings[] = {".TXT", ".txt", ".jpg", ".bmp", ".gif"};

// The entries of the titles' files that are there: both spellings of the
// text file (which a case-sensitive folder can hold) and the three kinds of
// picture.
QStringList FilesOfTitles(const store::Catalogue& catalogue, const store::WorkingFolder& folder) {
    QStringList names;
    names.reserve(catalogue.TitleCount * int(std::size(kTitleFileEndings)));
    for (int i = 1; i <= catalogue.TitleCount; ++i) {
        const QString& title = catalogue.strDaimei[static_cast<size_t>(i)];
        for (const char* ending : kTitleFileEndings) {
            QString name = title + QLatin1StringView(ending);
            // Only a text file can spell one of the program's own.
            if (ending[1] == 't' || ending[1] == 'T') {
                if (IsKeptForSomethingElse(name)) continue;
            }
            names << std::move(name);
        }
    }
    return folder.presentEntries(names);
}

QStringList SideTextFiles(const store::WorkingFolder& folder) {
    QStringList names;
    for (store::SideText kind :
         {store::SideText::Cast, store::SideText::Synopsis, store::SideText::Memo}) {
        names += SideFiles(folder, kind);
    }
    return names;
}

// Deletes the files and syncs the folder once: a sync for each of many
// thousand files made the clearing take minutes. A file that cannot be deleted
// does not stop the others; it is named in the result.
void DeleteFiles(store::WorkingFolder& folder, const QStringList& names, const Progress& progress,
                 ClearResult& r) {
    std::function<void(int, int)> told;
    if (progress) told = [&progress](int done, int total) { (void)progress(done, total); };
    (void)folder.removeMany(names, told, &r.undeleted);
}

ClearResult Empty(store::WorkingFolder& folder, const QString& name, ClearResult done) {
    done.status = folder.replace(name, QByteArray());
    return done;
}

}  // namespace

bool IsKeptForSomethingElse(const QString& fileName) {
    static const QStringList own = {
        store::kDataFile,          store::kEvaluationMasterFile, store::kOwnershipMasterFile,
        store::kSettingsFileWrite, history::kHistoryFile,        history::kHistoryCopyFile};
    for (const QString& f : own) {
        if (fileName.compare(f, Qt::CaseInsensitive) == 0) return true;
    }
    for (store::SideText kind :
         {store::SideText::Cast, store::SideText::Synopsis, store::SideText::Memo}) {
        if (fileName.startsWith(store::SideTextPrefix(kind), Qt::CaseInsensitive) &&
            fileName.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                             const Progress& progress) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    r = Empty(folder, history::kHistoryFile, r);
    if (!r.status) return r;
    DeleteFiles(folder, FilesOfTitles(catalogue, folder) + SideTextFiles(folder), progress, r);
    return r;
}

ClearResult ClearTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                        const Progress& progress) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    DeleteFiles(folder, FilesOfTitles(catalogue, folder), progress, r);
    return r;
}

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
    QStringList cleared = FilesOfTitles(catalogue, folder);
    // A side text is listed under its own name once; a title's file never
    // spells one (IsKeptForSomethingElse), so no entry comes twice.
    cleared += SideTextFiles(folder);
    const int total = int(kept.size() + cleared.size());

    // A new folder, never one that is there already.
    const QString base = BackupFolderName(when);
    QString folderName = base;
    for (int k = 2;; ++k) {
        bool existed = false;
        const store::Status made = folder.makeFolder(folderName, &existed);
        if (made) break;
        if (!existed || k > 99) {
            return {store::StoreError{folderName, 0,
                                      QStringLiteral("バックアップ用のフォルダを作れません")},
                    {}};
        }
        folderName = base + QStringLiteral("_") + QString::number(k);
    }
    const QString target = folder.path() + QLatin1Char('/') + folderName;

    store::Status status;
    QStringList synced;
    for (const QString& name : kept) {
        const QString from = folder.path() + QLatin1Char('/') + name;
        if (QFileInfo(from).isDir()) continue;
        synced << target + QLatin1Char('/') + name;
        status = store::CopyNewFile(from, synced.last());
        if (!status) break;
    }
    bool stopped = false;
    if (status && progress && !progress(int(kept.size()), total)) stopped = true;
    if (status && !stopped) {
        const int before = int(kept.size());
        std::function<bool(int)> told;
        if (progress) told = [&](int done) { return progress(before + done, total); };
        status = store::LinkNewFiles(folder.path(), cleared, target, told, &stopped,
                                     folder.listedAsFiles(cleared));
    }
    // The copies, the new names and the folder's own entry are on the disk
    // before the clearing deletes a file.
    if (status && !stopped) status = store::SyncPaths(synced << target << folder.path());
    if (!status || stopped) {
        QDir(target).removeRecursively();
        if (!status) return {status, {}};
        return {store::Status::ok(), {}, true};
    }
    return {store::Status::ok(), folderName};
}

}  // namespace logic
