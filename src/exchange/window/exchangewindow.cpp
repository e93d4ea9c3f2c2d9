#include "exchange/window/exchangewindow.h"

#include "db/dberror.h"
#include "exchange/window/importdialog.h"
#include "reports/fixedreports.h"
#include "ui/filetarget.h"
#include "ui/workprogress.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace perlinex::exchange {

namespace {

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

bool hasPictures(const QString& imagesFolder) {
    return !QDir(imagesFolder).entryList(QDir::Files).isEmpty();
}

// The CSV file to write and, when its pictures go beside it, their folder; nullopt when the
// user gave up or chose a file that may not be written.
struct ExportTarget {
    QString file;
    QString picturesFolder;
};

std::optional<ExportTarget> chooseTarget(Program& program) {
    DialogService& dialogs = program.dialogs();
    const std::optional<QString> file = dialogs.saveFileName(
        translate("ExchangeWindow", "Export CSV"),
        translate("ExchangeWindow", "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"),
        QDir(documentsFolder()).filePath(QStringLiteral("stamps.csv")));
    if (!file || file->isEmpty())
        return std::nullopt;
    if (!mayWriteFile(dialogs, *file, program.collectionFiles()))
        return std::nullopt;
    if (!reports::ConfirmReplace(program, *file))
        return std::nullopt;
    ExportTarget target{*file, QString()};
    if (hasPictures(program.imagesFolder())) {
        const QString folder = picturesFolderBeside(*file);
        const Answer a = dialogs.message(
            translate(
                "ExchangeWindow",
                "Copy pictures into a folder beside the file?\n\nThe stamps' pictures go into the "
                "folder '%1', and the file's picture column names each one.")
                .arg(QDir::toNativeSeparators(folder)),
            translate("ExchangeWindow", "Export CSV"), Buttons::YesNoCancel, Icon::Question);
        if (a == Answer::Cancel)
            return std::nullopt;
        if (a == Answer::Yes)
            target.picturesFolder = folder;
    }
    return target;
}

} // namespace

void exportFromWindow(Program& program, QWidget* parent, const StampSelection& selection) {
    if (!program.CollectionDb)
        return;
    const std::optional<ExportTarget> target = chooseTarget(program);
    if (!target)
        return;
    DialogService& dialogs = program.dialogs();
    const QString title = translate("ExchangeWindow", "Export CSV");
    ExportOptions options;
    options.picturesFolder = target->picturesFolder;
    options.keep = program.collectionFiles();
    ExportOutcome outcome;
    try {
        perlinex::WorkProgress progress(parent, title,
                                        translate("ExchangeWindow", "Writing the stamps..."),
                                        perlinex::WorkProgress::Stop::Offered);
        outcome = exportStampsCsv(*program.CollectionDb, program.imagesFolder(), selection,
                                  target->file, options, progress.stoppableCallback());
    } catch (const durable::FileError& e) {
        dialogs.message(
            translate("ExchangeWindow",
                      "The file '%1' could not be written; nothing has been changed.\n%2")
                .arg(QDir::toNativeSeparators(target->file), e.text()),
            title, Buttons::Ok, Icon::Warning);
        return;
    } catch (const db::DbError& e) {
        // Damage takes the way of damage met anywhere; any other failure changed nothing.
        if (e.number() == db::err::DamagedFile)
            throw;
        dialogs.message(translate("ExchangeWindow",
                                  "The stamps could not be read; nothing has been written.\n%1")
                            .arg(e.text()),
                        title, Buttons::Ok, Icon::Warning);
        return;
    }
    if (outcome.cancelled) {
        dialogs.message(
            translate("ExchangeWindow", "The export was cancelled; nothing has been written."),
            title, Buttons::Ok, Icon::Information);
        return;
    }
    QString text = translate("ExchangeWindow", "Stamps written to '%1': %2.")
                       .arg(QDir::toNativeSeparators(target->file))
                       .arg(outcome.stamps);
    if (!target->picturesFolder.isEmpty())
        text += QLatin1Char('\n') + translate("ExchangeWindow", "Pictures copied into '%1': %2.")
                                        .arg(QDir::toNativeSeparators(target->picturesFolder))
                                        .arg(outcome.pictures);
    dialogs.message(text, title, Buttons::Ok, Icon::Information);
}

std::optional<ImportOutcome>
importFromWindow(Program& program, QWidget* parent, const PictureConverter& convert,
                 const std::function<void(const ImportOutcome&)>& showStored) {
    if (!program.CollectionDb || program.ReadOnly)
        return std::nullopt;
    std::optional<ImportOutcome> outcome;
    {
        ImportDialog dialog(program, convert, parent);
        if (dialog.chooseFile())
            dialog.exec();
        if (const std::optional<db::DbError> damage = dialog.takeDamage())
            HandleDbError(program, *damage);
        outcome = dialog.outcome();
    }
    if (!outcome)
        return std::nullopt;
    if (showStored)
        showStored(*outcome);
    program.dialogs().message(ImportDialog::summary(*outcome),
                              translate("ExchangeWindow", "Import"), Buttons::Ok,
                              Icon::Information);
    return outcome;
}

} // namespace perlinex::exchange
