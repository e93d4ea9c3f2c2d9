#pragma once

#include "util/durablefile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// Compaction, repair, backup and restore of a collection. Each works on closed files and
// replaces a file only by an atomic rename of a complete, verified new one, so that a crash
// or a full disk at any moment leaves a whole collection under its own name.
namespace perlinex::db {

// How a long operation is getting on: done of total, total 0 when not known. It is called
// often, from inside the work, so that a window can show it and repaint.
using Progress = std::function<void(std::int64_t done, std::int64_t total)>;

// Called with the name of each step before it runs; tests use it to stop the work there.
using StepHook = std::function<void(const char* step)>;
void setStepHook(StepHook hook);
// Tells the hook that the named step is about to run, for the store's work of several steps
// outside this unit (a picture stored with its row).
void reachStep(const char* step);

// The file that holds a program folder's collection: AppFolder/stamp.mdb, or, when that is a
// symbolic link, the file it leads to. Compaction, backup, restore and repair work on that
// file and beside it (their temporary files, stampdb.bak, stamp-before-restore.mdb), so that
// the link keeps leading to the collection as it now is. Throws DbError 3024, with words for
// the user, when the link leads nowhere or round in a circle.
QString resolvedCollectionPath(const QString& appFolder);

// Compacts the collection through stampnew.mdb beside it; the collection as it was is kept as
// stampdb.bak (an earlier one is replaced). Throws DbError and leaves the collection and the
// folder as they were when any step fails.
void compactCollection(const QString& appFolder, const Progress& progress = {});

struct RepairReport {
    QString damagedCopy;       // where the damaged file was kept
    std::int64_t stamps = 0;   // stamps recovered
    std::int64_t codes = 0;    // code-table entries recovered
    std::int64_t lostRows = 0; // rows found but not recoverable (at least this many were lost)
    std::int64_t cutRows = 0;  // rows recovered with a value whose end could not be read
    // Stamps recovered with characters that could not be read replaced by U+FFFD.
    std::int64_t mendedStamps = 0;
    // An estimate of how many stamps the damaged file held, from its counter, the keys seen
    // and the key ranges of its unreadable parts: a repair that recovered clearly fewer has
    // lost stamps, and the caller may rather keep the damaged file.
    std::int64_t expectedStamps = 0;
    // False when nothing left in the file tells how many stamps it held (a file cut to its
    // first page, or empty); expectedStamps then counts only what was found.
    bool expectedKnown = true;
    QStringList notes;     // what the salvage corrected or guessed
    bool replaced = false; // the recovered collection took the damaged file's place

    // True when the salvage clearly fell short of what the file held: no stamp at all, fewer
    // than 95 in a hundred of those expected, or no telling how many it held.
    bool fellShort() const;
    // The stamps the file held that did not come back, by the estimate; 0 when unknown.
    std::int64_t missingStamps() const;
};

// Keeps a copy of the damaged collection beside it, then recovers every row that can still
// be found in it (see salvage.h) into a fresh collection. That collection takes the damaged
// file's place unless accept, asked with the figures first, says no; the program's callers
// always ask the user there. When accept says no or
// any step fails, the damaged file stays where it was, untouched, and nothing is left beside
// it.
RepairReport repairCollection(const QString& dbPath,
                              const std::function<bool(const RepairReport&)>& accept = {});

// The problems of a collection file, read without changing it: the engine's full integrity
// check and our own tables and fields. Empty when the collection is whole.
QStringList checkCollection(const QString& path);

// True when the file is an intact collection (opens, passes the full integrity check and has
// every table and field).
bool isIntactCollection(const QString& path, QString* why = nullptr);

// Puts an intact collection file (such as stampdb.bak) in the place of dbPath, keeping the
// file it replaces under keptName beside it when that is given.
void replaceCollectionWith(const QString& source, const QString& dbPath,
                           const QString& keptName = QString());

// A picture (or a folder of them) that a backup could not copy, by its path under the
// program folder ("images/gb/seahorse.png"), and why.
struct NotCopied {
    QString path;
    QString why;
};

struct BackupReport {
    QString folder;             // the new backup folder
    QList<NotCopied> notCopied; // empty when the backup holds every picture
    bool complete() const { return notCopied.isEmpty(); }
    // What to tell the user once the backup is made: where it is and what it holds, or, for an
    // incomplete one, which pictures it lacks.
    QString message() const;
};

// Makes a consistent copy of the collection and its images folder in a new dated folder
// under destination. A picture or folder that cannot be read is left out and reported (the
// backup is then incomplete, and says so in a file "incomplete.txt" beside the collection);
// any other failure, such as a full disk, fails the whole backup and leaves nothing behind.
BackupReport backupCollection(const QString& appFolder, const QString& destination,
                              const QDateTime& when = QDateTime::currentDateTime(),
                              const Progress& progress = {});

// Puts a backup made by backupCollection back in the program folder. The collection and
// images it replaces are kept as stamp-before-restore.mdb (beside the collection) and
// images-before-restore. Before the first change to the program folder a marker,
// restore.pending, is written to disk, so that a restore cut short by a crash is finished or
// undone by recoverInterruptedRestore. Throws DbError when it fails; the folder then holds the
// collection and pictures as they were, or, when only the last steps failed and could not be
// finished, the marker is left for the next start.
void restoreCollection(const QString& backupFolder, const QString& appFolder,
                       const Progress& progress = {});

struct RestoreRecovery {
    enum class Outcome {
        Nothing,    // no restore was cut short
        Finished,   // the backup's collection was in place: its pictures were put in place too
        RolledBack, // the collection had not been replaced: the restore was undone
    };
    Outcome outcome = Outcome::Nothing;
    QString message;     // what to tell the user; empty when there was nothing to do
    QStringList removed; // leftover partial files removed, for a log
};

// Run at every start under the program's lock on the folder, before the collection is opened:
// finishes or undoes a restore that was cut short, and removes the partial files that
// compaction, repair, backup or restore leave when the program is killed. Throws DbError when
// an interrupted restore cannot be settled (the marker then stays for the next attempt).
RestoreRecovery recoverInterruptedRestore(const QString& appFolder);

// True when a restore into appFolder was cut short and waits for recoverInterruptedRestore.
bool hasInterruptedRestore(const QString& appFolder);

// A folder holds a backup when it has an intact stamp.mdb.
bool isBackupFolder(const QString& folder);

// The files and folders of the collection in appFolder that no file the user names may
// replace: the collection (and where a link leads it), its journal and lock, the field
// catalogue, the copy kept by the last compaction, the files compaction, repair and restore
// keep or work on, and everything in the pictures folder (also where a link leads it).
durable::ProtectedFiles collectionFiles(const QString& appFolder);

} // namespace perlinex::db
