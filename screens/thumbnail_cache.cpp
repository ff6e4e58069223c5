#include "screens/thumbnail_cache.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "logic/pictures.h"

namespace thumbnails {

namespace {

const QSize kLargest(logic::kThumbnailSide, logic::kThumbnailSide);

QSize SmallSize(const QSize& natural) {
    if (natural.width() <= kLargest.width() && natural.height() <= kLargest.height()) {
        return natural;
    }
    return natural.scaled(kLargest, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// No larger than a thumbnail, or than the picture shows in the box when that
// is larger; never larger than the picture.
QSize DecodedSize(const QSize& natural, const QSize& box) {
    const QSize small = SmallSize(natural);
    if (box.isEmpty()) return small;
    const QSize fitted = natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (fitted.width() <= small.width()) return small;
    return fitted.width() < natural.width() ? fitted : natural;
}

// A thumbnail is drawn no larger than it is.
bool LargeEnough(const QImage& thumbnail, const QSize& box) {
    return box.isEmpty() ||
           thumbnail.size().scaled(box, Qt::KeepAspectRatio).width() <= thumbnail.width();
}

}  // namespace

QImage Find(const QString& cacheFolder, const logic::ThumbnailKeys& file) {
    if (cacheFolder.isEmpty()) return {};
    QImageReader reader(cacheFolder + QLatin1Char('/') + logic::ThumbnailFileName(file.uri), "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargest.width() || size.height() > kLargest.height()) {
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull() ||
        !logic::ThumbnailMatches(file, image.text(QStringLiteral("Thumb::URI")),
                                 image.text(QStringLiteral("Thumb::MTime")),
                                 image.textKeys().contains(QStringLiteral("Thumb::Size"))
                                     ? image.text(QStringLiteral("Thumb::Size"))
                                     : QString())) {
        return {};
    }
    return image;
}

bool Write(const QString& cacheFolder, const logic::ThumbnailKeys& file, const QImage& picture) {
    if (cacheFolder.isEmpty() || picture.isNull()) return false;
    const QSize small = SmallSize(picture.size());
    QImage thumbnail = small == picture.size()
                           ? picture
                           : picture.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // On the image, not the writer: the writer's texts are split at the first
    // colon, which would cut "Thumb::URI" to "Thumb".
    thumbnail.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(file.uri));
    thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::number(file.mtime));
    thumbnail.setText(QStringLiteral("Thumb::Size"), QString::number(file.size));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("ホシノートＷ"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's fastest level: half the time of the default for a file a sixth
    // larger, on the path of every picture decoded.
    writer.setQuality(80);
    if (!writer.write(thumbnail)) return false;
    return logic::StoreThumbnail(cacheFolder, logic::ThumbnailFileName(file.uri), png);
}

QImage DecodeSmall(QIODevice* device, const QSize& box) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    const QSize natural = reader.size();
    if (natural.isValid()) reader.setScaledSize(DecodedSize(natural, box));
    QImage image = reader.read();
    // A reader that cannot tell the size beforehand gives the whole picture.
    if (const QSize size = DecodedSize(image.size(), box);
        !image.isNull() && size != image.size()) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

QImage SmallPicture(const QString& cacheFolder, const QString& path, qint64 now, Writer writer,
                    const QSize& box) {
    const std::optional<logic::ThumbnailKeys> before = logic::ReadThumbnailKeys(path);
    const bool settled = before && logic::ThumbnailSettled(*before, now);
    QImage known;
    if (settled) {
        known = Find(cacheFolder, *before);
        if (!known.isNull() && LargeEnough(known, box)) return known;
    }
    QImage picture;
    {
        logic::PictureSource source(path);
        if (!source.device()) return {};
        picture = DecodeSmall(source.device(), box);
    }
    // A valid thumbnail is there already.
    if (!known.isNull()) return picture;
    if (picture.isNull() || !before || !(settled || writer == Writer::ThisProgram)) return picture;
    const std::optional<logic::ThumbnailKeys> after = logic::ReadThumbnailKeys(path);
    if (after && after->look == before->look) Write(cacheFolder, *before, picture);
    return picture;
}

}  // namespace thumbnails
