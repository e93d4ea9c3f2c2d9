#include "app/frmbackup.h"

#include "db/dberror.h"
#include "db/sqlite/maintenance.h"
#include "ui/program.h"
#include "ui/slotguard.h"
#include "ui/workprogress.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace perlinex {

namespace {

QString title() {
    return frmBackup::tr("Backup");
}

bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

frmBackup::frmBackup(Program& program, QWidget* parent) : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(title());
    setModal(true);

    auto* explain = new QLabel(
        tr("A backup is a copy of your whole collection: the stamp records with the code "
           "tables (stamp.mdb) and the stamp pictures (the images folder).\n\n"
           "Make Backup puts the copy in a new folder named with today's date and time, "
           "such as \"Perlinex backup 2024-05-01 18-30-00\", inside the folder you choose. "
           "Choose a folder on another disk or a memory stick, so that the copy survives "
           "when this disk fails.\n\n"
           "Restore Backup puts such a copy back in place of the current collection. "
           "The current collection is kept as stamp-before-restore.mdb (and its pictures "
           "as images-before-restore) in the program folder.\n\n"
           "Report layouts (.rpt files) are kept wherever you saved them and are not part "
           "of a backup."),
        this);
    explain->setObjectName(QStringLiteral("lblExplain"));
    explain->setWordWrap(true);
    explain->setMinimumWidth(440);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setWordWrap(true);

    auto* backup = new QPushButton(tr("&Make Backup..."), this);
    backup->setObjectName(QStringLiteral("cmdBackup"));
    auto* restore = new QPushButton(tr("&Restore Backup..."), this);
    restore->setObjectName(QStringLiteral("cmdRestore"));
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    // Enter must not start a copy by accident.
    backup->setAutoDefault(false);
    restore->setAutoDefault(false);
    close->setDefault(true);

    connectGuarded(backup, &QPushButton::clicked, this, &frmBackup::makeBackup);
    connectGuarded(restore, &QPushButton::clicked, this, &frmBackup::restoreBackup);
    // A backup of a collection that cannot be changed can be made, but none put in its place.
    restore->setEnabled(!program_.ReadOnly);
    connectGuarded(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backup);
    buttons->addWidget(restore);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explain);
    layout->addWidget(status_);
    layout->addLayout(buttons);
}

void frmBackup::report(const QString& status) {
    status_->setText(status);
    fitText();
}

// A window of wrapped text does not grow by itself when a line gets longer: it is made tall
// (and wide) enough for the whole of its text, the explanation included.
void frmBackup::fitText() {
    layout()->activate();
    const int width = std::max(this->width(), layout()->totalMinimumSize().width());
    const int height = std::max(this->height(), layout()->totalHeightForWidth(width));
    if (width != this->width() || height != this->height())
        resize(width, height);
}

void frmBackup::closeStore() {
    // The store copies and replaces closed files only; the main window reopens the
    // collection when this window is done.
    if (program_.CollectionDb)
        program_.closeCollection();
}

void frmBackup::makeBackup() {
    DialogService& dialogs = program_.dialogs();
    const std::optional<QString> destination =
        dialogs.folderName(tr("Choose the Folder to Put the Backup In"), lastFolder_);
    if (!destination || destination->isEmpty())
        return;
    closeStore();
    report(tr("Making the backup..."));
    status_->repaint();
    db::BackupReport made;
    try {
        WorkProgress progress(this, title(), tr("Making the backup..."));
        made = db::backupCollection(program_.AppFolder, *destination, QDateTime::currentDateTime(),
                                    progress.callback());
    } catch (const db::DbError& e) {
        report(QString());
        dialogs.message(e.text(), title(), Buttons::Ok, Icon::Critical);
        return;
    }
    lastFolder_ = *destination;
    const QString shown = QDir::toNativeSeparators(made.folder);
    report(made.complete() ? tr("Last backup: %1").arg(shown)
                           : tr("Last backup (incomplete): %1").arg(shown));
    // An incomplete backup says which pictures it lacks.
    dialogs.message(made.message(), title(), Buttons::Ok,
                    made.complete() ? Icon::Information : Icon::Warning);
}

void frmBackup::restoreBackup() {
    DialogService& dialogs = program_.dialogs();
    const QString title = tr("Restore Backup");
    if (program_.ReadOnly)
        return;
    const std::optional<QString> folder = dialogs.folderName(
        tr("Choose the Backup Folder (Perlinex backup ...) to Restore"), lastFolder_);
    if (!folder || folder->isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(*folder);
    if (sameFolder(*folder, program_.AppFolder)) {
        dialogs.message(tr("The folder %1 is the program folder that holds the "
                           "current collection, not a backup.\n\nChoose a folder "
                           "named like \"Perlinex backup 2024-05-01 18-30-00\".")
                            .arg(shown),
                        title, Buttons::Ok, Icon::Warning);
        return;
    }
    if (!db::isBackupFolder(*folder)) {
        dialogs.message(tr("The folder %1 does not hold a Perlinex backup.\n\nChoose "
                           "a folder named like \"Perlinex backup 2024-05-01 "
                           "18-30-00\"; it holds stamp.mdb and an images folder. "
                           "Nothing has been changed.")
                            .arg(shown),
                        title, Buttons::Ok, Icon::Warning);
        return;
    }
    const Answer answer =
        dialogs.message(tr("Replace the current collection with the backup in\n%1?\n\nThe current "
                           "collection is kept as stamp-before-restore.mdb and its pictures as "
                           "images-before-restore in the program folder, replacing any kept there "
                           "by an earlier restore.")
                            .arg(shown),
                        title, Buttons::YesNoDefaultNo, Icon::Question);
    if (answer != Answer::Yes)
        return;
    closeStore();
    report(tr("Restoring the backup..."));
    status_->repaint();
    try {
        WorkProgress progress(this, title, tr("Restoring the backup..."));
        db::restoreCollection(*folder, program_.AppFolder, progress.callback());
    } catch (const db::DbError& e) {
        report(QString());
        dialogs.message(e.text(), title, Buttons::Ok, Icon::Critical);
        // A restore that failed after the collection was put in place is finished now, or
        // else at the next start.
        try {
            const db::RestoreRecovery r = db::recoverInterruptedRestore(program_.AppFolder);
            if (!r.message.isEmpty())
                dialogs.message(r.message, title, Buttons::Ok, Icon::Information);
        } catch (const db::DbError&) {
        }
        return;
    }
    lastFolder_ = QFileInfo(*folder).absolutePath();
    report(tr("Restored from: %1").arg(shown));
    dialogs.message(tr("The collection has been restored from the backup in\n%1.").arg(shown),
                    title, Buttons::Ok, Icon::Information);
}

} // namespace perlinex
