#include "logic/side_file_lists.h"

namespace logic {

QStringList SideFiles(const store::WorkingFolder& folder, store::SideText kind) {
    return folder.list(store::SideTextPrefix(kind), QStringLiteral(".txt"));
}

QString TitleOfSideFile(store::SideText kind, const QString& fileName) {
    const qsizetype front = store::SideTextPrefix(kind).size();
    return fileName.mid(front, fileName.size() - front - 4);
}

}  // namespace logic
