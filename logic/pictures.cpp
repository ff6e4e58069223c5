#include "logic/pictures.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace logic {

int GalleryPageCount(int titleCount) {
    return titleCount <= 0 ? 0 : (titleCount + kGallerySlots - 1) / kGallerySlots;
}

int GalleryFirstNumber(int page) {
    return (page - 1) * kGallerySlots + 1;
}

int GalleryLastNumber(int page) {
    return page * kGallerySlots;
}

int GalleryTitleAt(int page, int slot, int titleCount) {
    if (page < 1 || slot < 1 || slot > kGallerySlots) return 0;
    const int n = (page - 1) * kGallerySlots + slot;
    return n <= titleCount ? n : 0;
}

int NextGalleryPage(int page, int pageCount) {
    return page < pageCount ? page + 1 : page;
}

int PreviousGalleryPage(int page) {
    return page > 1 ? page - 1 : page;
}

std::optional<int> PictureBoxWidth(int widthTwips, int heightTwips, int boxHeightTwips) {
    if (widthTwips <= 1000) return std::nullopt;
    const double r = double(heightTwips) / widthTwips;
    if (r > 1.3) return 3030;
    if (r < 0.9) return 6165;
    return boxHeightTwips;
}

PictureSource::PictureSource(const QString& path) : file_(path) {
    // A pipe or a device under a picture's name is passed over: opening it
    // could wait for ever.
    if (!QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly)) return;
    device_ = &file_;
    if (file_.peek(3) != QByteArrayLiteral("\xff\xd8\xff") || file_.size() > kJpegInMemory) {
        return;
    }
    bytes_ = file_.readAll();
    memory_.setBuffer(&bytes_);
    memory_.open(QIODevice::ReadOnly);
    device_ = &memory_;
}

std::optional<QString> PictureFileStamp(const QString& path, qint64 now) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    if (st.st_ctim.tv_sec > now - 2) return std::nullopt;
    return QString::asprintf(
        "%llu:%llu:%lld:%lld.%09ld:%lld.%09ld", static_cast<unsigned long long>(st.st_dev),
        static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_size),
        static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec,
        static_cast<long long>(st.st_ctim.tv_sec), st.st_ctim.tv_nsec);
}

QString JoinPath(const QString& folderPath, const QString& fileName) {
    if (folderPath.endsWith(QLatin1Char('/'))) return folderPath + fileName;
    return folderPath + QLatin1Char('/') + fileName;
}

bool IsConvertedPicture(const QString& sourceFileName) {
    for (const char* ending : {".png", ".jpeg", ".webp", ".gif"}) {
        if (sourceFileName.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) return true;
    }
    return false;
}

QString PictureTargetName(const QString& title, const QString& sourceFileName) {
    if (IsConvertedPicture(sourceFileName)) return title + QStringLiteral(".jpg");
    return title + sourceFileName.right(4);
}

bool PictureTargetRefused(const QString& targetName) {
    return !store::WorkingFolder::isSafeName(targetName);
}

namespace {

store::StoreError SourceError(const QString& path, const QFile& file) {
    return store::StoreError{
        path, 0, QStringLiteral("読み込めません（") + file.errorString() + QStringLiteral("）")};
}

}  // namespace

store::Status CopyPictureIn(store::WorkingFolder& folder, const QString& sourcePath,
                            const QString& targetName) {
    if (PictureTargetRefused(targetName)) {
        return store::StoreError{targetName, 0,
                                 QStringLiteral("作業フォルダの外を指す名前には書き込めません")};
    }
    // The whole source is read first, so that a picture taken from the working
    // folder onto itself is not cut while it is read.
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) return SourceError(sourcePath, source);
    QByteArray bytes;
    bytes.reserve(qsizetype(std::max<qint64>(source.size(), 0)));
    char chunk[65536];
    for (;;) {
        const qint64 n = source.read(chunk, sizeof chunk);
        if (n < 0) return SourceError(sourcePath, source);
        if (n == 0) break;
        bytes.append(chunk, qsizetype(n));
    }
    return folder.replace(targetName, bytes);
}

}  // namespace logic
