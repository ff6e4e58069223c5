#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "store/status.h"

namespace store {

// The name of every temporary the program makes in a folder starts so.
inline constexpr char kTemporaryPrefix[] = ".hoshi-tmp-";

// A failed call on a file, with the system's reason in Japanese.
StoreError IoError(const QString& file, const QString& what, int err);
// A path as the system's calls take it.
QByteArray NativePath(const QString& path);

// Replaces the file at an absolute path as a whole, the one way every save
// goes: the bytes to a temporary beside it (temporaryPath, or a fresh
// ".hoshi-tmp-XXXXXX" when empty), flushed and fsynced, renamed over the
// target, then the folder fsynced; an old file's permissions are kept. On
// failure nothing of the new bytes is left and an old file stays byte for
// byte; when only the folder's fsync failed, the error is marked written (the
// new bytes are in place). Errors name the file as `name`.
Status ReplaceFileAtPath(const QString& targetPath, const QByteArray& bytes,
                         const QString& temporaryPath, const QString& name);

// ReplaceFileAtPath for a file outside the working folder (an export).
Status WriteFileAtomically(const QString& absolutePath, const QByteArray& bytes);

// Writes every byte; 0 or the errno of the failing write.
int WriteAll(int fd, const char* data, qint64 size);

// Copies a regular file into a new file (which must not exist yet). The copy is not
// synced: SyncFileSystem after a batch of copies makes them all durable.
Status CopyNewFile(const QString& sourcePath, const QString& targetPath);

// Gives a regular file a second name (a new one) in the same file system: the
// name keeps the bytes however the first name is later replaced or deleted,
// and nothing is copied. Only for files the program replaces by renaming, never
// writes in place. Where the file system has no such names (or refuses one for
// this file), the file is copied instead.
Status LinkNewFile(const QString& sourcePath, const QString& targetPath);

// LinkNewFile for many files of one folder, each under its own name in a new
// folder: a folder in a file's place is passed over. progress hears after
// each file how many are done; when it answers false the linking stops there
// and *stopped is set. Where listedAsFile[i] is true, the folder's listing
// showed names[i] as a regular file and it is linked without a look of its own.
Status LinkNewFiles(const QString& fromFolder, const QStringList& names, const QString& toFolder,
                    const std::function<bool(int done)>& progress = {}, bool* stopped = nullptr,
                    const std::vector<bool>& listedAsFile = {});

// Makes the files and the folders durable (fsync each).
Status SyncPaths(const QStringList& paths);

// Makes everything written to the file system that holds the path durable.
Status SyncFileSystem(const QString& path);

}  // namespace store
