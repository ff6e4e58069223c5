#include "logic/import_side_texts.h"

#include "store/file_ops.h"
#include "store/record_file.h"
#include "store/side_files.h"

namespace logic {

store::Status WriteImportSideTexts(const ImportPlan& plan, store::WorkingFolder& folder,
                                   QStringList& written, int* kept) {
    constexpr store::SideText kinds[] = {store::SideText::Cast, store::SideText::Synopsis,
                                         store::SideText::Memo};
    *kept = 0;
    for (const ImportTitle& t : plan.titles) {
        for (size_t k = 0; k < 3; ++k) {
            if (t.sideTexts[k].isEmpty()) continue;
            const QString name = store::SideTextFileName(kinds[k], t.fields[0]);
            store::RecordWriter w(name);
            w.PrintLine(t.sideTexts[k]);
            QByteArray bytes;
            if (store::Status s = w.finish(bytes); !s) return s;
            bool taken = false;
            if (store::Status s = folder.createUnsynced(name, bytes, &taken); !s) return s;
            if (taken) {
                ++*kept;
            } else {
                written << name;
            }
        }
    }
    if (written.isEmpty()) return store::Status::ok();
    return store::SyncFileSystem(folder.path());
}

void RemoveImportSideTexts(store::WorkingFolder& folder, const QStringList& written) {
    if (!written.isEmpty()) (void)folder.removeMany(written);
}

}  // namespace logic
