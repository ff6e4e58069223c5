#include "logic/new_start.h"

#include <QSet>

#include "history/history.h"
#include "logic/side_file_lists.h"
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

QStringList FilesOfNewStart(const store::Catalogue& catalogue, const store::WorkingFolder& folder) {
    // A side text is listed under its own name once; a title's file never
    // spells one (IsKeptForSomethingElse), so no entry comes twice.
    return FilesOfTitles(catalogue, folder) + SideTextFiles(folder);
}

ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                             const Progress& progress) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    r = Empty(folder, history::kHistoryFile, r);
    if (!r.status) return r;
    DeleteFiles(folder, FilesOfNewStart(catalogue, folder), progress, r);
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

}  // namespace logic
