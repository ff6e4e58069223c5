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

// The files of the titles that are there: both spellings of the text file
// (which a case-sensitive folder can hold) and the three kinds of picture.
QStringList FilesOfTitles(const store::Catalogue& catalogue, const store::WorkingFolder& folder) {
    QStringList names;
    names.reserve(catalogue.TitleCount * int(std::size(kTitleFileEndings)));
    for (int i = 1; i <= catalogue.TitleCount; ++i) {
        const QString& title = catalogue.strDaimei[static_cast<size_t>(i)];
        for (const char* ending : kTitleFileEndings) {
            QString name = title + QLatin1StringView(ending);
            if (!IsKeptForSomethingElse(name)) names << std::move(name);
        }
    }
    return folder.present(names);
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
// is passed over.
void DeleteFiles(store::WorkingFolder& folder, const QStringList& names) {
    (void)folder.removeMany(names);
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

ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    r = Empty(folder, history::kHistoryFile, r);
    if (!r.status) return r;
    DeleteFiles(folder, FilesOfTitles(catalogue, folder) + SideTextFiles(folder));
    return r;
}

ClearResult ClearTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    DeleteFiles(folder, FilesOfTitles(catalogue, folder));
    return r;
}

QString BackupFolderName(const QDateTime& when) {
    return QStringLiteral("バックアップ_") + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

BackupResult BackUpBeforeClearing(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                                  const QDateTime& when) {
    // The program's own files stay in the folder after a clearing (the masters
    // and the settings unchanged): their backups are copies of their own. The
    // files of the titles go with the clearing, so the backup takes them over
    // as second names of the same files, without copying a byte.
    const QStringList kept =
        folder.present({store::kDataFile, history::kHistoryFile, store::kEvaluationMasterFile,
                        store::kOwnershipMasterFile, store::kSettingsFileWrite});
    const QStringList cleared = FilesOfTitles(catalogue, folder) + SideTextFiles(folder);

    // A new folder, never one that is there already.
    const QString base = BackupFolderName(when);
    QString folderName = base;
    const QDir working(folder.path());
    for (int k = 2; !working.mkdir(folderName); ++k) {
        if (!QFileInfo::exists(working.filePath(folderName)) || k > 99) {
            return {store::StoreError{folderName, 0,
                                      QStringLiteral("バックアップ用のフォルダを作れません")},
                    {}};
        }
        folderName = base + QStringLiteral("_") + QString::number(k);
    }
    const QString target = working.filePath(folderName);

    // Each file once, under the name it has in the folder.
    QSet<QString> taken;
    store::Status status;
    auto back = [&](const QStringList& sources, bool copy) {
        for (const QString& source : sources) {
            const QFileInfo info(source);
            const QString fileName = info.fileName();
            // A folder in a file's place holds nothing of the catalogue.
            if (taken.contains(fileName) || info.isDir()) continue;
            taken.insert(fileName);
            const QString to = target + QLatin1Char('/') + fileName;
            status = copy ? store::CopyNewFile(source, to) : store::LinkNewFile(source, to);
            if (!status) return;
        }
    };
    back(folder.resolveAll(kept), true);
    if (status) back(folder.resolveAll(cleared), false);
    if (status) status = store::SyncFileSystem(target);
    if (!status) {
        QDir(target).removeRecursively();
        return {status, {}};
    }
    return {store::Status::ok(), folderName};
}

}  // namespace logic
