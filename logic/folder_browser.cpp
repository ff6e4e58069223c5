#include "logic/folder_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace logic {
namespace {

// Folders of the system itself, never a place to pick pictures from.
const QStringList& SystemFolders() {
    static const QStringList folders = {"/boot", "/dev", "/etc", "/opt", "/proc", "/run",
                                        "/snap", "/sys", "/tmp", "/usr", "/var"};
    return folders;
}

bool IsUnder(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/")) return path.startsWith(QLatin1Char('/'));
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool IsRemovablePlace(const QString& root) {
    for (const char* base : {"/media", "/run/media", "/mnt"}) {
        if (root.startsWith(QLatin1String(base) + QLatin1Char('/'))) return true;
    }
    return false;
}

bool IsDataVolume(const MountedVolume& v) {
    if (v.root == QLatin1String("/") || v.fileSystem == QLatin1String("squashfs")) return false;
    if (IsRemovablePlace(v.root)) return true;
    if (!v.device.startsWith(QLatin1String("/dev/"))) return false;
    return std::none_of(SystemFolders().cbegin(), SystemFolders().cend(),
                        [&](const QString& f) { return IsUnder(v.root, f); });
}

QString Named(const QString& name, const QString& root) {
    return name + QStringLiteral(" （") + root + QStringLiteral("）");
}

}  // namespace

std::vector<MountedVolume> MountedVolumes() {
    std::vector<MountedVolume> result;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (!QFileInfo(s.rootPath()).isDir()) continue;
        result.push_back({s.rootPath(), QString::fromLocal8Bit(s.device()),
                          QString::fromLatin1(s.fileSystemType()), s.name()});
    }
    return result;
}

std::vector<Volume> PickableVolumes(const std::vector<MountedVolume>& mounted,
                                    const QString& homePath) {
    std::vector<Volume> result = {{Named(QStringLiteral("ルート"), "/"), "/"}};
    const QString home = QDir::cleanPath(homePath);
    if (!homePath.isEmpty() && home != QLatin1String("/")) {
        result.push_back({Named(QStringLiteral("ホーム"), home), home});
    }
    std::vector<Volume> data;
    for (const MountedVolume& v : mounted) {
        const QString root = QDir::cleanPath(v.root);
        if (!IsDataVolume({root, v.device, v.fileSystem, v.label})) continue;
        if (root == home) continue;
        if (std::any_of(data.cbegin(), data.cend(),
                        [&](const Volume& d) { return d.root == root; }))
            continue;
        const QString name = v.label.isEmpty() ? QFileInfo(root).fileName() : v.label;
        data.push_back({Named(name, root), root});
    }
    std::sort(data.begin(), data.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    result.insert(result.end(), data.begin(), data.end());
    return result;
}

int VolumeHolding(const std::vector<Volume>& volumes, const QString& path) {
    const QString p = QDir::cleanPath(path);
    int best = -1;
    for (int k = 0; k < int(volumes.size()); ++k) {
        if (!IsUnder(p, volumes[k].root)) continue;
        if (best < 0 || volumes[k].root.size() > volumes[best].root.size()) best = k;
    }
    return best;
}

QString VisibleFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    const QStringList parts = clean.split(QLatin1Char('/'));
    int visible = 0;
    while (visible < parts.size() && !parts[visible].startsWith(QLatin1Char('.'))) ++visible;
    if (visible == parts.size()) return clean;
    const QString parent = parts.mid(0, visible).join(QLatin1Char('/'));
    return parent.isEmpty() ? QStringLiteral("/") : parent;
}

bool IsReadableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

std::optional<std::vector<FolderEntry>> FolderListing(const QString& root, const QString& folder) {
    const QString base = QDir::cleanPath(root);
    const QString current = QDir::cleanPath(folder);
    if (!IsReadableFolder(current)) return std::nullopt;

    std::vector<FolderEntry> entries;
    const QString start = IsUnder(current, base) ? base : current;
    entries.push_back({start, start, 0, true});
    if (start != current) {
        const QString rest = current.mid(start == QLatin1String("/") ? 1 : start.size() + 1);
        QString path = start;
        for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path = path == QLatin1String("/") ? path + part : path + QLatin1Char('/') + part;
            entries.push_back({path, part, int(entries.size()), true});
        }
    }
    const int depth = int(entries.size());
    const QDir dir(current);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        entries.push_back({dir.filePath(name), name, depth, false});
    }
    return entries;
}

bool IsPictureFileName(const QString& fileName) {
    for (const char* ending : {".jpg", ".bmp", ".png", ".jpeg", ".webp", ".gif"}) {
        if (fileName.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) return true;
    }
    return false;
}

std::optional<QStringList> PictureFiles(const QString& folder) {
    if (!IsReadableFolder(folder)) return std::nullopt;
    // The pattern is matched while the folder is read, so a folder of many
    // other files is not sorted whole.
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.png"),
                        QStringLiteral("*.jpeg"), QStringLiteral("*.webp"),
                        QStringLiteral("*.gif")});
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (IsPictureFileName(name)) names << name;
    }
    return names;
}

}  // namespace logic
