#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace logic {

// --- the desktop's shared thumbnails, the "normal" ones of 128 pixels ---

inline constexpr int kThumbnailSide = 128;

// The folder of the normal thumbnails: under $XDG_CACHE_HOME when it is an
// absolute path, else under $HOME/.cache. Empty when there is neither.
QString NormalThumbnailFolder(const QByteArray& xdgCacheHome, const QByteArray& home);
// The same from this process's environment.
QString NormalThumbnailFolder();

// What a thumbnail must name of its picture file to stand for it.
struct ThumbnailKeys {
    QByteArray uri;    // the file's absolute URI, encoded
    qint64 mtime = 0;  // its modification time in whole seconds
    qint64 size = 0;
    // Every detail of the file as it was looked at, to tell whether it changed
    // while it was read.
    QByteArray look;
};

// The URI of a file by its path, made absolute.
QByteArray ThumbnailUri(const QString& path);
// The thumbnail's file name: the lowercase hex MD5 of the URI, then ".png".
QString ThumbnailFileName(const QByteArray& uri);

// The keys of a regular file; nothing when it cannot be looked at.
std::optional<ThumbnailKeys> ReadThumbnailKeys(const QString& path);

// True when the texts a thumbnail carries stand for that file: the same URI,
// the same modification time and, where the size is given, the same size.
bool ThumbnailMatches(const ThumbnailKeys& file, const QString& uri, const QString& mtime,
                      const QString& size);

// A file's modification time is counted in whole seconds: a second write in
// the same second, of the same size, would leave the keys alike. A thumbnail
// is trusted or made for a file only once that second is well past.
bool ThumbnailSettled(const ThumbnailKeys& file, qint64 now);

// Puts the thumbnail's bytes in place under its name: written to a temporary
// file of the folder (mode 0600), then renamed over the old one. The folders
// it creates get mode 0700. False on any failure, which leaves nothing behind.
bool StoreThumbnail(const QString& folder, const QString& fileName, const QByteArray& png);

}  // namespace logic
