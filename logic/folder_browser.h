#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace logic {

// A mounted file system as the system reports it.
struct MountedVolume {
    QString root;
    QString device;
    QString fileSystem;
    QString label;
};

// A place the drive list offers: the name it shows and the folder it opens.
struct Volume {
    QString name;
    QString root;
};

// The file systems mounted now (directories only).
std::vector<MountedVolume> MountedVolumes();

// The places a user picks pictures from: the root, the home folder, then the
// data volumes and removable media (under /media, /run/media, /mnt, or any
// other device outside the system's own folders), each once, in order of root.
std::vector<Volume> PickableVolumes(const std::vector<MountedVolume>& mounted,
                                    const QString& homePath);

// The index of the place that holds the path (the deepest root it is under),
// or -1.
int VolumeHolding(const std::vector<Volume>& volumes, const QString& path);

// The folder itself, or, when it lies inside a hidden folder (a name starting
// with "."), the deepest of its parents that does not.
QString VisibleFolder(const QString& folder);

// True when the folder exists and its entries can be listed.
bool IsReadableFolder(const QString& path);

// One line of the folder list: the folders from the place's root down to the
// current one (open), then the current one's sub-folders.
struct FolderEntry {
    QString path;
    QString name;
    int depth = 0;
    bool open = false;
};

// The folder list of a folder inside a place, or nothing when the folder
// cannot be read. Sub-folders are in name order ignoring case; hidden ones are
// left out.
std::optional<std::vector<FolderEntry>> FolderListing(const QString& root, const QString& folder);

// True for a name the file list shows: "*.JPG;*.BMP", and the pictures that
// are converted on the way in, "*.PNG;*.JPEG;*.WEBP;*.GIF"; letter case
// ignored.
bool IsPictureFileName(const QString& fileName);

// The picture files of a folder in name order ignoring case (hidden ones left
// out), or nothing when the folder cannot be read.
std::optional<QStringList> PictureFiles(const QString& folder);

}  // namespace logic
