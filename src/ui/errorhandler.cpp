#include "ui/errorhandler.h"

#include "db/pg/pgstore.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/maintenance.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

namespace perlinex {

using db::DbError;
namespace err = db::err;

void ProgramState::lockFolder() {
    if (FolderLock || shared())
        return;
    db::CollectionHold hold = db::holdCollection(AppFolder, db::Purpose::Browse);
    DbPath = hold.path;
    ReadOnly = hold.readOnly;
    FolderLock = std::move(hold.lock);
    if (!hold.rolledBack.isEmpty())
        std::fprintf(stderr, "perlinex: %s\n", hold.rolledBack.toLocal8Bit().constData());
}

void ProgramState::openCollection(db::StructureCheck check) {
    if (shared()) {
        ReadOnly = false;
        if (!CollectionDb) {
            const db::ServerAddress a = db::parseServerAddress(Server);
            CollectionDb = db::openServerDatabase(a.server, a.collection);
        }
        return;
    }
    CollectionDb = db::openCollection(DbPath, check,
                                      ReadOnly ? db::OpenMode::ReadOnly : db::OpenMode::Exclusive);
}

void ProgramState::checkStructureAside(const db::BackgroundCheck::Finding& found) {
    // A server checks its own structure.
    if (CollectionDb && !shared())
        structureCheck_.start(CollectionDb->path(), found);
}

void ProgramState::closeCollection() {
    // The check reads the file by its own connection: it ends before the file is let go, which
    // Pack, Backup, Restore and a repair replace.
    structureCheck_.stop();
    if (beforeClose)
        beforeClose();
    if (CollectionDb)
        CollectionDb->close();
    CollectionDb.reset();
}

void ProgramState::endProgram(const QString& reason) {
    closeCollection();
    throw ProgramEnded{reason};
}

namespace {

QString codeEntryCount(std::int64_t n) {
    return translateCount("Counts", QT_TRANSLATE_NOOP("Counts", "1 code entry"),
                          QT_TRANSLATE_N_NOOP("Counts", "%n code entries"), n);
}

// The statement that failed goes to the log, never into a message.
void logError(const DbError& error) {
    std::fprintf(stderr, "perlinex: error %d: %s%s%s\n", error.number(),
                 error.text().toLocal8Bit().constData(), error.statement().isEmpty() ? "" : " in ",
                 error.statement().toLocal8Bit().constData());
}

} // namespace

void repairAndReopen(ProgramState& program, const DbError& error) {
    program.closeCollection();
    if (program.ReadOnly) {
        program.dialogs().message(
            translate("ErrorHandler",
                      "The collection %1 is damaged:\n%2\n\nIt is read-only, so Perlinex "
                      "cannot repair it. Copy its folder to where it can be changed and run "
                      "\"perlinex repair\" there. Perlinex ends now.")
                .arg(QDir::toNativeSeparators(program.DbPath), error.text()),
            translate("ErrorHandler", "Damaged Collection"), Buttons::Ok, Icon::Critical);
        program.endProgram(error.text());
    }
    const QString folder = QFileInfo(program.DbPath).absolutePath();
    const QString bak = QDir(folder).filePath(QString::fromLatin1(db::CompactBackupFileName));
    DialogService& dialogs = program.dialogs();
    const QString name = QFileInfo(program.DbPath).fileName();
    try {
        bool restored = false;
        if (db::isIntactCollection(bak)) {
            const QString when =
                QLocale().toString(QFileInfo(bak).lastModified(), QLocale::ShortFormat);
            const Answer a = dialogs.message(
                translate("ErrorHandler",
                          "The collection %1 is damaged:\n%2\n\nDo you want to put back the "
                          "copy kept by the last compaction (%3, saved %4)?\n\nChoose No to "
                          "recover what can still be read from the damaged file. Either "
                          "way the damaged file is kept.")
                    .arg(name, error.text(), QString::fromLatin1(db::CompactBackupFileName), when),
                translate("ErrorHandler", "Damaged Collection"), Buttons::YesNo, Icon::Warning);
            if (a == Answer::Yes) {
                db::replaceCollectionWith(bak, program.DbPath, QStringLiteral("damaged"));
                restored = true;
            }
        }
        if (!restored) {
            // A salvage that clearly fell short does not replace the damaged file unasked.
            const db::RepairReport r =
                db::repairCollection(program.DbPath, [&](const db::RepairReport& found) {
                    if (!found.fellShort())
                        return true;
                    return dialogs.message(
                               translate(
                                   "ErrorHandler",
                                   "The collection %1 held about %2, but only %3 and %4 could "
                                   "be recovered from it.\n\nDo you "
                                   "want to replace the damaged file with what was recovered?"
                                   "\n\nChoose No to leave the damaged file as it is, so that "
                                   "another tool can be tried; Perlinex then ends.")
                                   .arg(name, stampCount(found.expectedStamps),
                                        stampCount(found.stamps), codeEntryCount(found.codes)),
                               translate("ErrorHandler", "Damaged Collection"), Buttons::YesNo,
                               Icon::Warning) == Answer::Yes;
                });
            const QString kept = QDir::toNativeSeparators(r.damagedCopy);
            if (!r.replaced) {
                dialogs.message(translate("ErrorHandler",
                                          "The damaged collection has been left as it was in "
                                          "%1. Perlinex ends now.")
                                    .arg(QDir::toNativeSeparators(program.DbPath)),
                                translate("ErrorHandler", "Damaged Collection"), Buttons::Ok,
                                Icon::Information);
                program.endProgram(error.text());
            }
            QString text =
                translate("ErrorHandler", "The collection %1 was damaged and has been repaired: "
                                          "%2 and %3 were recovered.")
                    .arg(name, stampCount(r.stamps), codeEntryCount(r.codes));
            if (r.lostRows > 0)
                text += r.lostRows == 1
                            ? translate("ErrorHandler", "\n\nAt least one row could not be read.")
                            : translate("ErrorHandler", "\n\nAt least %1 rows could not be read.")
                                  .arg(r.lostRows);
            if (r.cutRows > 0)
                text += translate("ErrorHandler", "\n\n%1 values could only be read in part.")
                            .arg(r.cutRows);
            text +=
                translate("ErrorHandler", "\n\nThe damaged file has been kept as %1.").arg(kept);
            dialogs.message(text, translate("ErrorHandler", "Damaged Collection"), Buttons::Ok,
                            Icon::Information);
        }
        program.openCollection();
    } catch (const DbError& e) {
        dialogs.message(translate("ErrorHandler",
                                  "The collection %1 is damaged and could not be repaired.\n\n"
                                  "%2\n\nNothing has been overwritten.")
                            .arg(name, e.text()),
                        ProgramTitle, Buttons::Ok, Icon::Critical);
        program.endProgram(e.text());
    }
}

void HandleDbError(ProgramState& program, const DbError& error) {
    DialogService& dialogs = program.dialogs();
    switch (error.number()) {
    case err::NoDatabase:
        dialogs.message(translate("ErrorHandler",
                                  "There was an error accessing the database file.  Aborting..."));
        program.endProgram(error.text());
    case err::FileInUse:
        return;
    case err::DamagedFile:
        repairAndReopen(program, error);
        throw CollectionReopened{};
    case err::LockedRow:
    case err::LockedRow2:
        program.RetryLock = true;
        ++program.LockRetries;
        if (program.LockRetries < 100)
            return;
        if (dialogs.message(translate("ErrorHandler",
                                      "Could not update locked record.  Do you wish to try again?"),
                            translate("ErrorHandler", "Locked Record"), Buttons::YesNo,
                            Icon::Question) == Answer::Yes) {
            program.LockRetries = 1;
            return;
        }
        program.endProgram(error.text());
    case err::ObjectInvalid:
        dialogs.message(QStringLiteral(
            "An error has occurred.  You may have forgotten to close a window before packing or "
            "backing up the program's database.  Please rerun the program."));
        program.endProgram(error.text());
    case err::DialogCancelled:
        program.DialogCancelled = true;
        return;
    default:
        logError(error);
        dialogs.message(QStringLiteral("%1  %2").arg(error.number()).arg(error.text()));
        program.endProgram(error.text());
    }
}

bool trap(ProgramState& program, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const DbError& e) {
        HandleDbError(program, e);
        return false;
    }
}

void withLockRetry(ProgramState& program, const std::function<void()>& operation) {
    program.LockRetries = 0;
    program.RetryLock = true;
    while (program.RetryLock) {
        program.RetryLock = false;
        trap(program, operation);
    }
    if (program.CollectionDb)
        program.CollectionDb->idle();
}

} // namespace perlinex
