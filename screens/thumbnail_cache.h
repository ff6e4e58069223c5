#pragma once

#include <QImage>
#include <QString>

#include "logic/thumbnails.h"

// The desktop's shared normal thumbnails, read and written beside the decoding
// of a picture file. Every failure of the cache is silent: the picture is then
// decoded as if there were none. Safe to use from any thread.
namespace thumbnails {

// The thumbnail in the folder that stands for the file, or a null image when
// there is none, or it names another file or another state of it, or it does
// not load.
QImage Find(const QString& cacheFolder, const logic::ThumbnailKeys& file);

// Writes the thumbnail of a picture decoded from the file (scaled down to 128
// pixels on its longer side if it is larger). False on any failure.
bool Write(const QString& cacheFolder, const logic::ThumbnailKeys& file, const QImage& picture);

// The picture file decoded no larger than a thumbnail, keeping its shape; or,
// given the box (device pixels) it is to fill, as large as it shows there
// when that is larger.
QImage DecodeSmall(QIODevice* device, const QSize& box = {});

// Who last wrote the picture file.
enum class Writer { Anyone, ThisProgram };

// A picture file no larger than a thumbnail: from its valid thumbnail, else
// decoded, and then its thumbnail written when the file stayed the same while
// it was read. A file that changed within the last seconds (by `now`, seconds
// since the epoch) is neither looked up nor written for, unless this program
// wrote it and so knows its bytes. Null when the file is no picture. Given
// the box it is to fill (device pixels, a 2x screen), a thumbnail smaller than
// the picture shows there is passed over and the file decoded for the box.
QImage SmallPicture(const QString& cacheFolder, const QString& path, qint64 now,
                    Writer writer = Writer::Anyone, const QSize& box = {});

}  // namespace thumbnails
