#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "store/status.h"

namespace store {

// What the file system says of a file: enough to tell with one stat that it
// is still the file the program saw; the hash settles it when the stat differs
// (a sync tool may write the same bytes again).
struct Fingerprint {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    size_t hash = 0;

    bool sameStat(const Fingerprint& other) const {
        return size == other.size && mtimeNs == other.mtimeNs && inode == other.inode &&
               device == other.device;
    }
};

size_t HashBytes(const QByteArray& bytes);

// What the program last loaded of a file it owns, or wrote to it. The hash
// of disk is made only when a stat differs, never on the way of a write.
struct SeenFile {
    Fingerprint disk;     // the file as the program last left or read it
    QByteArray onDisk;    // its bytes
    bool hashed = false;  // disk.hash is made
    QByteArray base;      // what memory holds: the base of a merge
    bool merged = false;  // written merged, memory not yet reloaded

    // True when the bytes are the ones last left on disk: the sizes, then
    // the hashes, then the bytes.
    bool leftOnDisk(const QByteArray& bytes);
};

// A three-way merge of one file: the merged bytes, or the error of a side that
// does not read (the file and the line); conflicts names what both sides
// changed.
struct Merged {
    Status status;
    QByteArray bytes;
    QStringList conflicts;
};
using Merger = std::function<Merged(const QString& name, const QByteArray& base,
                                    const QByteArray& ours, const QByteArray& theirs)>;

// A file another program had changed, merged into what was written.
struct OutsideChange {
    QString file;
    QStringList conflicts;
};

}  // namespace store
