#pragma once

#include "reports/reportdefinitions.h"
#include "reports/reporttargets.h"
#include "ui/program.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace perlinex::reports {

class frmOutput;
class ReportData;

// The file-exists confirmation of the file targets: when fileName names an existing file, asks
// whether to replace it. True when the file may be written.
bool ConfirmReplace(ProgramState& program, const QString& fileName);

// ".txt" or ".htm".
QString fileSuffix(FileTarget target);

// The save dialog of a file target, with the target's filter, opened on defaultPath; nullopt
// when the user cancels.
std::optional<QString> chooseReportFile(DialogService& dialogs, FileTarget target,
                                        const QString& defaultPath);

// The fixed reports of the main window's Reports menu, one call per menu item:
//   mnuRpt1..4 ("Stamps by &Country", "&Type", "&Format", "T&opic"):
//       run(ReportId::ByCountry), ByType, ByFormat, ByTopic
//   mnuRptValue run(ReportId::Value), mnuRptWant run(ReportId::WantList),
//   mnuRptForSale run(ReportId::ForSale), mnuRptSold run(ReportId::Sold).
// Each goes to the target of program.reportTarget. The query runs first: when it finds
// nothing the report's message is shown and no window opens and no file is touched. A
// category report first asks with the selection dialog which entries to list.
//
// The preview window is made the first time a report needs it and kept (hidden once closed);
// the custom reports share it through previewWindow(). Errors of the store go to the common
// error handler; ProgramEnded and CollectionReopened pass through run() to the event loop.
class FixedReports {
public:
    FixedReports(Program& program, QWidget* parent);
    ~FixedReports();
    FixedReports(const FixedReports&) = delete;
    FixedReports& operator=(const FixedReports&) = delete;

    void run(ReportId id);

    frmOutput& previewWindow();
    bool hasPreviewWindow() const { return !output_.isNull(); }

    // Report files, fixed, custom and PDF alike, are suggested under the report's name in the
    // folder the last report file went to (kept between runs; at first the user's documents).
    QString fileFolder() const { return folder_; }
    QString suggestedFile(const QString& reportName, const QString& suffix) const;
    // After a report file is written: its folder is the next one suggested, and the window
    // the report was made from says where it went and how many stamps it holds.
    void fileWritten(const QString& fileName, std::int64_t stamps, QWidget* window);
    // The report in the preview, for the name and the count of its PDF export.
    void setPreviewReport(const QString& name, std::int64_t stamps);

    // The files no report file may replace: the collection's, and the layout file the report
    // came from, which the custom reports set (empty for a fixed report).
    durable::ProtectedFiles protectedFiles() const;
    void setLayoutFile(const QString& layoutFile) { layoutFile_ = layoutFile; }

private:
    void preview(std::unique_ptr<ReportData>& data);
    void writeFile(std::unique_ptr<ReportData>& data, FileTarget target);
    // Runs a step of the report. A store error lets go of the report's rows and goes to the
    // common error handler (which may close the collection); totals too large for money are
    // reported. False when the step failed.
    bool step(std::unique_ptr<ReportData>& data, const std::function<void()>& fn);

    Program& program_;
    QWidget* parent_;
    QPointer<frmOutput> output_;
    QString folder_;
    QString layoutFile_;
    QString previewName_;
    std::int64_t previewStamps_ = 0;
};

} // namespace perlinex::reports
