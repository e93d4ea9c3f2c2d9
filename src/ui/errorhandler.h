#pragma once

#include "db/database.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/backgroundcheck.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/folderlock.h"
#include "ui/dialogservice.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace perlinex {

// Thrown to end the program at once: it unwinds to the event loop, which closes the store and
// quits. Nothing of the caller runs after it.
struct ProgramEnded {
    QString reason;
};

// Thrown once a damaged collection has been repaired or put back from its copy and opened
// again: every record set of the old file is gone, so the procedure that met the damage must
// not go on. It unwinds to the event loop, where the windows open their record sets anew.
struct CollectionReopened {};

// The program-wide state of the open collection and of its error handling. The windows' own
// state is added to it by the program object.
class ProgramState {
public:
    explicit ProgramState(DialogService& dialogs) : dialogs_(dialogs) {}
    virtual ~ProgramState() = default;

    DialogService& dialogs() { return dialogs_; }

    QString AppFolder;
    QString DbPath;
    // The shared collection open, as the user named it ("SERVER#COLLECTION"); empty for a
    // collection folder. A shared collection takes no hold: other desks work on it as well.
    // AppFolder is then this desk's own folder for it (the pictures shown, the field
    // catalogue), never the collection.
    QString Server;
    bool shared() const { return !Server.isEmpty(); }
    // This program's hold on the collection's folder, for its whole life.
    std::unique_ptr<db::FolderLock> FolderLock;
    // The collection cannot be changed (read-only media or file): it is opened read-only and
    // the windows offer no command that would change it.
    bool ReadOnly = false;
    std::unique_ptr<db::Database> CollectionDb;
    // Runs before the collection closes, so that the window's views of it let go of its
    // statements first.
    std::function<void()> beforeClose;

    bool RetryLock = false;
    std::int16_t LockRetries = 0;
    bool DialogCancelled = false;

    // Takes AppFolder's collection as every command does (db::holdCollection) before it is
    // opened or made: DbPath, the folder's lock, and whether it is read-only. A store cut short
    // by a crash is rolled back, and that is said on standard error. Throws 3045 when another
    // program has the collection.
    void lockFolder();
    // Opens DbPath as CollectionDb for this program alone (read-only when ReadOnly). The main
    // window defers the check of the file's structure until its first record is on screen.
    // A shared collection is opened on its server, unless it is open already.
    void openCollection(db::StructureCheck check = db::StructureCheck::AtOpen);
    // Stops the structure check running beside the program, then closes the collection.
    void closeCollection();

    // Checks the open collection's structure in a worker thread while the program goes on;
    // found is called in this thread with what the check found, unless the collection is
    // closed first.
    void checkStructureAside(const db::BackgroundCheck::Finding& found);
    // Until what it found has been handed on.
    bool structureCheckRunning() const { return structureCheck_.isRunning(); }
    // The main window starts that check once its first record is painted; a benchmark turns
    // it off to measure the window alone.
    bool StructureCheckAside = true;

    // Ends the program: closes the store and throws ProgramEnded.
    [[noreturn]] void endProgram(const QString& reason = QString());

private:
    DialogService& dialogs_;
    db::BackgroundCheck structureCheck_;
};

// Repairs a damaged collection, as the error handler does for error 3049: the copy kept by the
// last compaction is offered first, then what can be read is salvaged (asking before a
// salvage that fell short replaces the file), and the collection is opened again. Ends the
// program when nothing usable is left.
void repairAndReopen(ProgramState& program, const db::DbError& error);

// The common error handler: returns for the errors it can recover from, ends the program
// (throws ProgramEnded) for the others.
void HandleDbError(ProgramState& program, const db::DbError& error);

// One step of a procedure that runs under the common error handler: on a store error the
// handler is called and, when it returns, the procedure goes on with its next step.
// Returns false when the step failed.
bool trap(ProgramState& program, const std::function<void()>& step);

// Repeats one store or delete while it meets a locked row, as the handler decides, then
// tells the engine to free its locks.
void withLockRetry(ProgramState& program, const std::function<void()>& operation);

} // namespace perlinex
