#include "reports/fixedreports.h"

#include "db/dberror.h"
#include "reports/frmoutput.h"
#include "reports/frmrptsel.h"
#include "reports/reportrows.h"
#include "ui/busycursor.h"
#include "ui/filetarget.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <stdexcept>

namespace perlinex::reports {

namespace {

const QString FolderKey = QStringLiteral("reports/folder");

} // namespace

bool ConfirmReplace(ProgramState& program, const QString& fileName) {
    // Any file of that name is asked about, hidden ones too: replacing it loses it.
    if (!QFileInfo(fileName).isFile())
        return true;
    const Answer answer = program.dialogs().message(
        translate("Reports", "The file '%1' already exists.  Do you wish to replace it?")
            .arg(fileName),
        translate("Reports", "File Exists"), Buttons::YesNo, Icon::None);
    return answer == Answer::Yes;
}

QString fileSuffix(FileTarget target) {
    return target == FileTarget::Text ? QStringLiteral(".txt") : QStringLiteral(".htm");
}

std::optional<QString> chooseReportFile(DialogService& dialogs, FileTarget target,
                                        const QString& defaultPath) {
    const QString filter =
        target == FileTarget::Text
            ? translate("Reports", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*")
            : translate("Reports", "Html Files (*.htm)|*.htm|All Files (*.*)|*.*");
    std::optional<QString> chosen =
        dialogs.saveFileName(translate("Reports", "Save As"), filter, defaultPath);
    if (chosen && chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

FixedReports::FixedReports(Program& program, QWidget* parent)
    : program_(program), parent_(parent), folder_(program.settings()->value(FolderKey).toString()) {
    if (folder_.isEmpty() || !QFileInfo(folder_).isDir())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder_.isEmpty() || !QFileInfo(folder_).isDir())
        folder_ = QDir::homePath();
}

QString FixedReports::suggestedFile(const QString& reportName, const QString& suffix) const {
    return QDir(folder_).filePath(reportFileName(reportName) + suffix);
}

void FixedReports::fileWritten(const QString& fileName, std::int64_t stamps, QWidget* window) {
    folder_ = QFileInfo(fileName).absolutePath();
    program_.settings()->setValue(FolderKey, folder_);
    tellFileWritten(program_.dialogs(), window, fileName, stamps);
}

void FixedReports::setPreviewReport(const QString& name, std::int64_t stamps) {
    previewName_ = name;
    previewStamps_ = stamps;
}

FixedReports::~FixedReports() {
    delete output_.data();
}

frmOutput& FixedReports::previewWindow() {
    if (!output_) {
        output_ = new frmOutput(program_.dialogs(), parent_);
        output_->setProtectedFiles([this] { return protectedFiles(); });
        output_->setFiling(
            [this](const QString& suffix) { return suggestedFile(previewName_, suffix); },
            [this](const QString& fileName) {
                fileWritten(fileName, previewStamps_, output_.data());
            });
    }
    return *output_;
}

durable::ProtectedFiles FixedReports::protectedFiles() const {
    durable::ProtectedFiles files = program_.collectionFiles();
    if (!layoutFile_.isEmpty())
        files.addFile(layoutFile_, translate("Reports", "the layout file %1 the report comes from")
                                       .arg(QDir::toNativeSeparators(layoutFile_)));
    return files;
}

bool FixedReports::step(std::unique_ptr<ReportData>& data, const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const db::DbError& e) {
        data.reset(); // before the handler may close the collection under it
        HandleDbError(program_, e);
    } catch (const std::overflow_error&) {
        program_.dialogs().message(
            translate(
                "Reports",
                "The report's amounts are too large to be added up; nothing has been written."),
            ProgramTitle, Buttons::Ok, Icon::Warning);
    }
    return false;
}

void FixedReports::run(ReportId id) {
    const ReportDefinition& definition = reportDefinition(id);
    std::int32_t codeId = -1;
    if (isCategoryReport(definition)) {
        program_.ReportCategory = definition.category;
        frmRptSel selection(program_, definition.category, parent_);
        const std::optional<std::int32_t> chosen = selection.choose();
        if (!chosen)
            return;
        codeId = *chosen;
    }
    program_.ReportActive = true;

    // The query first: a report that finds nothing touches no window and no file.
    std::unique_ptr<ReportData> data;
    {
        const BusyCursor busy;
        if (!step(data, [&] {
                if (!program_.CollectionDb)
                    throw db::DbError(db::err::NoDatabase,
                                      translate("Reports", "No collection is open."));
                data = std::make_unique<ReportData>(*program_.CollectionDb, definition, codeId);
            }))
            return;
    }
    if (data->isEmpty()) {
        program_.dialogs().message(reportText(definition.emptyMessage));
        return;
    }
    switch (program_.reportTarget) {
    case ReportTarget::Preview:
        preview(data);
        break;
    case ReportTarget::TextFile:
        writeFile(data, FileTarget::Text);
        break;
    case ReportTarget::HtmlTable:
        writeFile(data, FileTarget::Html);
        break;
    }
}

void FixedReports::preview(std::unique_ptr<ReportData>& data) {
    layoutFile_.clear();
    const ReportDefinition& definition = data->definition();
    program_.TableFormat = QString::fromLatin1(definition.tableFormat);
    program_.TableHeading = reportText(definition.tableHeading);
    frmOutput& window = previewWindow();
    window.setPageHeading(PageHeading::fromText(program_.ReportActive, program_.TableFormat,
                                                program_.TableHeading, program_.HeadingShade,
                                                program_.BodyShade));
    const BusyCursor busy;
    std::int64_t stamps = 0;
    if (!step(data, [&] {
            stamps = fillPreview(window.document(), *data, program_.regional, QDate::currentDate());
        })) {
        window.document().clear();
        return;
    }
    setPreviewReport(reportText(definition.title), stamps);
    window.showReport();
}

void FixedReports::writeFile(std::unique_ptr<ReportData>& data, FileTarget target) {
    const ReportDefinition& definition = data->definition();
    const std::optional<QString> chosen =
        chooseReportFile(program_.dialogs(), target,
                         suggestedFile(reportText(definition.title), fileSuffix(target)));
    if (!chosen)
        return;
    const durable::ProtectedFiles keep = program_.collectionFiles();
    if (!mayWriteFile(program_.dialogs(), *chosen, keep))
        return;
    if (!ConfirmReplace(program_, *chosen))
        return;
    const BusyCursor busy;
    try {
        std::int64_t stamps = 0;
        if (step(data, [&] {
                stamps = writeReportFile(*data, target, *chosen, program_.regional, keep);
            }))
            fileWritten(*chosen, stamps, parent_);
    } catch (const durable::FileError& e) {
        program_.dialogs().message(
            translate("Reports",
                      "The file '%1' could not be written; nothing has been changed.\n%2")
                .arg(*chosen, e.text()),
            ProgramTitle, Buttons::Ok, Icon::Warning);
    }
}

} // namespace perlinex::reports
