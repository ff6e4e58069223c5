#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "store/seen_files.h"
#include "store/status.h"

namespace store {

class WorkingFolder;

// Conflict copies of the data file and the history that a sync tool left in
// the folder ("データ.sync-conflict-*.TXT", "データ (*conflicted copy*).TXT",
// the same for "鑑賞履歴.TXT"), sorted.
QStringList SyncConflictCopies(const WorkingFolder& folder);

// Every file of the catalogue is reached through this one layer. A name is
// resolved ignoring letter case: the exact name first, else the entry of the
// folder equal to it ignoring case; a new file takes the spelling given. A name
// that would leave the folder (a path separator, "." or "..", a NUL) is refused.
// Whole-file writes are atomic; appends never leave half a record.
class WorkingFolder {
public:
    // Opening the folder removes the temporaries that a crash in the middle of
    // a save left behind (removeLeftovers).
    explicit WorkingFolder(QString absolutePath);

    const QString& path() const { return path_; }

    // True when the name stays inside the folder.
    static bool isSafeName(const QString& name);

    // Full path of the entry the name denotes, whether or not it exists yet;
    // nothing for an unsafe name.
    std::optional<QString> resolve(const QString& name) const;
    bool exists(const QString& name) const;
    // For many names at once, from one look at the folder (exists() looks
    // each time): the names of files in it now, and the full paths of names.
    // Unsafe names are left out of both.
    QStringList present(const QStringList& names) const;
    QStringList resolveAll(const QStringList& names) const;

    // Reads the whole file. *missing (when given) tells a missing file (or an
    // unsafe name) from a failed read; both return an error.
    Status read(const QString& name, QByteArray& out, bool* missing = nullptr) const;

    // read() of a file the program keeps track of, remembered as what its
    // memory now holds (the base of a later merge).
    Status load(const QString& name, QByteArray& out, bool* missing = nullptr);

    // --- the files the program owns (seen_files.cpp) ---
    // For these names (replacing any given before), what was loaded or last written is kept (size,
    // mtime, inode, a hash, the bytes). Before a write the file is checked with one stat; when
    // another program changed it, the merger (when set) gives the bytes written instead, and the
    // change is kept for takeOutsideChanges().
    void keepTrackOf(const QStringList& names);
    void setMerger(Merger merger) { merger_ = std::move(merger); }
    // Heard after a write that merged an outside change in.
    void setOutsideChangeListener(std::function<void()> heard) { heard_ = std::move(heard); }
    std::vector<OutsideChange> takeOutsideChanges();
    // The tracked files whose bytes on disk are no longer what the program
    // last loaded or wrote (one stat each; the bytes only on a mismatch), and
    // those written merged and not reloaded since.
    QStringList changedFiles() const;
    // The file as it is now (nothing when it is missing); hash only when asked.
    std::optional<Fingerprint> fingerprint(const QString& name, bool withHash = true) const;

    // Replaces two files as one step: both temporaries written and synced, a
    // journal of the pair written, the two renamed back to back, the journal
    // removed. Opening the folder finishes a pair a crash interrupted (see
    // finishPair), so that both files end old or both new.
    Status replacePair(const QString& first, const QByteArray& firstBytes, const QString& second,
                       const QByteArray& secondBytes);

    // Replaces the file as a whole: a temporary in the folder, written, flushed
    // and fsynced, renamed over the old file, then the folder fsynced. On failure
    // the old file is left byte for byte; when only the folder's fsync failed,
    // the error is marked written (the new bytes are in place).
    Status replace(const QString& name, const QByteArray& bytes);

    // Like replace, but the temporary has the given name (the history rewrites
    // through a copy of a fixed name).
    Status replaceVia(const QString& name, const QString& temporaryName, const QByteArray& bytes);
    // After a crash in replaceVia: a temporary beside the file is a leftover
    // and goes; a temporary without the file is the file (an older program
    // deleted the file before renaming) and takes its name.
    Status recoverVia(const QString& name, const QString& temporaryName);

    // Appends the bytes at the end of the file, creating it when missing: the
    // old bytes and the new ones replace the file as a whole, so that no reader
    // ever sees half of what was appended.
    Status append(const QString& name, const QByteArray& bytes);

    // Writes a file whose name (ignoring case) is not taken yet, without a
    // sync: one SyncFileSystem makes a batch of new files durable. When the
    // name is taken, nothing is written and *taken is set. A failed write
    // leaves no file.
    Status createUnsynced(const QString& name, const QByteArray& bytes, bool* taken);

    // Deletes the file; a missing file is not an error.
    Status remove(const QString& name);
    // Deletes many files and syncs the folder once at the end. An unsafe or
    // unwritable name, or a missing file, is passed over. A file that cannot be
    // deleted does not stop the others; the names of those (when given) hear
    // them, and the first one's error is returned. progress, when given, hears
    // after each file how many of them are done.
    Status removeMany(const QStringList& names,
                      const std::function<void(int done, int total)>& progress = {},
                      QStringList* undeleted = nullptr);

    // The entries the names denote, for the names present: each entry once,
    // in the order of the names, from one look at the folder.
    QStringList presentEntries(const QStringList& names) const;
    // For each entry (as presentEntries gives them), whether the folder's
    // listing shows it as a regular file; false where it shows anything else
    // or does not tell.
    std::vector<bool> listedAsFiles(const QStringList& entries) const;
    // Makes a new folder inside; *existed tells when the name was taken.
    Status makeFolder(const QString& name, bool* existed = nullptr);

    // A new, empty folder inside under a temporary name of the program's own
    // (name hears it). A folder is filled there and named only once it is
    // whole (nameFolder), so that a crash never leaves half of one under a good
    // name: removeLeftovers takes a temporary folder away with its files.
    Status makeTemporaryFolder(QString& name);
    // Gives the temporary folder a name that is not taken yet (ignoring case)
    // and syncs the folder. When the name is taken, nothing changes and
    // *taken is set. A failure of the sync alone is marked written.
    Status nameFolder(const QString& temporary, const QString& name, bool* taken);
    // Deletes a temporary folder with the files in it.
    Status removeTemporaryFolder(const QString& temporary);

    // Deletes the temporaries of replace() and makeTemporaryFolder() left in
    // the folder (names the program makes only); nothing else is touched. On a disk that stays full
    // a failed replace may leave its temporary behind, because even removing it fails: it goes
    // here, at the next start.
    void removeLeftovers();

    // True when the name fits a file name of the system (255 bytes).
    static bool fitsFileName(const QString& name);

    // Files that failed to load in this run are never written again in it.
    void markUnwritable(const QString& name);
    // Before the file is read again (it changed outside): it may read now.
    void clearUnwritable(const QString& name);
    bool isUnwritable(const QString& name) const;

    // Names of the entries whose name, ignoring case, starts with prefix and ends
    // with suffix (a listing by pattern).
    QStringList list(const QString& prefix, const QString& suffix) const;

private:
    void refreshListing() const;
    QString resolveListed(const QString& name) const;
    QString listedEntry(const QString& name, const QString& key) const;
    void noteCreated(const QString& fileName) const;
    void noteRemoved(const QString& fileName) const;
    Status refuseWrite(const QString& name) const;
    Status replaceThrough(const QString& name, const QString& temporaryName,
                          const QByteArray& bytes);
    Status syncFolder(const QString& name) const;
    Status replaceChecked(const QString& name, const QString& target, const QString& temporaryName,
                          const QByteArray& bytes);
    Status checkBeforeWrite(const QString& name, const QString& target, QByteArray& bytes,
                            bool& merged);
    void noteWritten(const QString& name, const QString& target, const QByteArray& bytes,
                     bool merged);
    bool finishPair();
    template <typename Change>
    Status keepingListing(Change change);

    QString path_;
    QSet<QString> unwritable_;  // case-folded names
    // Case-folded name -> actual entry names; rebuilt when the folder changes.
    mutable QHash<QString, QStringList> listing_;
    mutable QSet<QString> notRegular_;  // entries not listed as regular files
    mutable qint64 listingStamp_ = -1;
    // Counts the changes of listing_, so that a listing by pattern is only
    // made again after one (the searches list the side files at every use).
    mutable quint64 listingGeneration_ = 0;
    struct PatternListing {
        quint64 generation;
        QStringList names;
    };
    mutable QHash<QString, PatternListing> patternListings_;

    QHash<QString, QString> tracked_;        // case-folded name -> the name to tell
    mutable QHash<QString, SeenFile> seen_;  // case-folded name -> what was seen
    Merger merger_;
    std::function<void()> heard_;
    std::vector<OutsideChange> outside_;
};

}  // namespace store
