#include "logic/import_side_texts.h"

#include "logic/csv_columns.h"
#include "store/file_ops.h"
#include "store/record_file.h"
#include "store/side_files.h"
#include "store/text_check.h"

namespace logic {

void TakeSideTexts(const std::array<QString, 3>& cells, bool plain, ImportTitle& t, int& leftOut) {
    for (size_t k = 0; k < t.sideTexts.size(); ++k) {
        const QString& cell = cells[k];
        if (cell.isEmpty()) continue;
        QString text = k == 0 ? CastText(cell) : WithCrLf(cell);
        if (!plain) {
            const store::InputCheck check = store::CheckLineText(text);
            if (!check.refused.isEmpty()) {
                ++leftOut;
                t.notes |= SideTextLeftOut;
                continue;
            }
            text = check.text;
        }
        t.sideTexts[k] = std::move(text);
    }
    // The whole cast is kept in its text.
    if (!t.sideTexts[0].isEmpty()) t.notes &= ~LeadCut;
}

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
