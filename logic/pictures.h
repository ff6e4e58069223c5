#pragma once

#include <QBuffer>
#include <QFile>
#include <QString>
#include <optional>

#include "store/status.h"
#include "store/working_folder.h"

namespace logic {

// --- the gallery: twenty slots a page, slot k of page p is title (p-1)*20+k ---

inline constexpr int kGallerySlots = 20;

// Pages needed for the titles (0 for an empty catalogue).
int GalleryPageCount(int titleCount);
// The numbers the page reads as "first ～ last" (the last also on a page that
// is not full).
int GalleryFirstNumber(int page);
int GalleryLastNumber(int page);
// The title number in a slot (1..20) of a page, or 0 for a slot past the last
// title.
int GalleryTitleAt(int page, int slot, int titleCount);
// The page the paging buttons lead to; the same page where there is none.
int NextGalleryPage(int page, int pageCount);
int PreviousGalleryPage(int page);

// --- a picture's shape on the main screen ---

// The width, in twips, the main picture box takes for a picture of the given
// natural size (twips) in a box of the given height: narrow for an upright
// picture, full for a wide one, square otherwise. Nothing for a picture of
// 1000 twips or less across, which leaves the box as it was.
std::optional<int> PictureBoxWidth(int widthTwips, int heightTwips, int boxHeightTwips);

// --- reading a picture file for decoding ---

// A JPEG up to this size is read whole before it is decoded.
inline constexpr qint64 kJpegInMemory = qint64(64) << 20;

// A picture file opened for a decoder. A JPEG (known by its first bytes, not
// its name) is read into memory: from a memory device Qt hands libjpeg the
// whole file at once and libjpeg decodes on its fast path, where from a file
// it refills a small buffer. Anything else, or a JPEG over the limit, is read
// from the file as it goes. No device when the file cannot be opened or is no
// regular file.
class PictureSource {
public:
    explicit PictureSource(const QString& path);
    PictureSource(const PictureSource&) = delete;
    PictureSource& operator=(const PictureSource&) = delete;

    QIODevice* device() { return device_; }
    bool inMemory() const { return device_ == &memory_; }

private:
    QFile file_;
    QByteArray bytes_;
    QBuffer memory_;
    QIODevice* device_ = nullptr;
};

// What tells a picture file's bytes from others without reading them: its
// device, inode, size and change times, as one text. Nothing for a file that
// cannot be looked at, nor for one changed less than two seconds before `now`
// (seconds since the epoch): file times move in coarse ticks, and a second
// change within the tick of the first could leave every one of them alike.
std::optional<QString> PictureFileStamp(const QString& path, qint64 now);

// --- bringing a picture in ---

// The folder path and a file name in it as one path.
QString JoinPath(const QString& folderPath, const QString& fileName);

// True for a picture that is converted on the way in (PNG, JPEG spelled
// ".jpeg", WebP, GIF; letter case ignored): it is stored as a JPEG.
bool IsConvertedPicture(const QString& sourceFileName);

// The quality a converted picture is stored at.
inline constexpr int kConvertedPictureQuality = 90;

// The file a title's picture is copied to: the title's name and the last four
// characters of the source's name, spelled as the source spells them
// ("photo.JPG" gives "T.JPG"); the title's name and ".jpg" for a picture that
// is converted.
QString PictureTargetName(const QString& title, const QString& sourceFileName);

// Why a picture cannot be taken in for a title, before anything is asked:
// the title's name would make a file outside the working folder.
bool PictureTargetRefused(const QString& targetName);

// Copies the source file into the working folder under the target name,
// replacing a file of that name (letter case ignored) as a whole: a source
// that cannot be read or a write that fails leaves the old picture byte for
// byte and returns the error.
store::Status CopyPictureIn(store::WorkingFolder& folder, const QString& sourcePath,
                            const QString& targetName);

}  // namespace logic
