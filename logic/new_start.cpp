#include "logic/new_start.h"

#include "history/history.h"
#include "logic/side_file_lists.h"
#include "store/masters.h"
#include "store/side_files.h"

namespace logic {
namespace {

// A title's name + ".txt" can spell a file the program keeps for something
// else (a title "評価マスタ" and the evaluation master, a title "メモ_X" and
// the memo of X); such a file is not the title's.
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

// Deletes the file when it is there; a name that would leave the folder, or a
// file that cannot be deleted, is passed over.
void RemoveIfPresent(store::WorkingFolder& folder, const QString& name) {
    if (!folder.exists(name)) return;
    (void)folder.remove(name);
}

void DeleteFilesOfTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder) {
    for (int i = 1; i <= catalogue.TitleCount; ++i) {
        const QString& title = catalogue.strDaimei[static_cast<size_t>(i)];
        // Both spellings of the text file, which a case-sensitive folder can hold.
        for (const char* ending : {".TXT", ".txt", ".jpg", ".bmp", ".gif"}) {
            const QString name = title + QLatin1StringView(ending);
            if (IsKeptForSomethingElse(name)) continue;
            RemoveIfPresent(folder, name);
        }
    }
}

ClearResult Empty(store::WorkingFolder& folder, const QString& name, ClearResult done) {
    done.status = folder.replace(name, QByteArray());
    return done;
}

}  // namespace

ClearResult ClearForNewStart(const store::Catalogue& catalogue, store::WorkingFolder& folder) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    r = Empty(folder, history::kHistoryFile, r);
    if (!r.status) return r;
    DeleteFilesOfTitles(catalogue, folder);
    for (store::SideText kind :
         {store::SideText::Cast, store::SideText::Synopsis, store::SideText::Memo}) {
        for (const QString& name : SideFiles(folder, kind)) RemoveIfPresent(folder, name);
    }
    return r;
}

ClearResult ClearTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder) {
    ClearResult r = Empty(folder, store::kDataFile, {});
    if (!r.status) return r;
    r.dataEmptied = true;
    DeleteFilesOfTitles(catalogue, folder);
    return r;
}

}  // namespace logic
