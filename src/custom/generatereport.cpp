#include "custom/generatereport.h"

#include "custom/customreport.h"
#include "custom/reportplan.h"
#include "db/dberror.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"
#include "ui/busycursor.h"
#include "ui/filetarget.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <functional>
#include <memory>
#include <stdexcept>

namespace perlinex::custom {

namespace {

// How often the windows repaint while a preview's rows are added.
constexpr qint64 RepaintMs = 40;

// Damage and a closed collection are the common error handler's to deal with; any other
// failure of the query comes from the layout or the catalogue, and only ends this run.
bool forTheHandler(const db::DbError& e) {
    switch (e.number()) {
    case db::err::DamagedFile:
    case db::err::NoDatabase:
    case db::err::ObjectInvalid:
        return true;
    default:
        return false;
    }
}

class Run {
public:
    Run(Program& program, reports::FixedReports& reports, const ReportPlan& plan, Target target,
        const QString& name, QWidget* window)
        : program_(program), reports_(reports), plan_(plan), target_(target), name_(name),
          window_(window) {}

    void go();

private:
    bool step(const std::function<void()>& fn);
    void preview();
    void writeFile(reports::FileTarget target);
    void message(const QString& text) {
        program_.dialogs().message(text, ProgramTitle, Buttons::Ok, Icon::Warning);
    }

    Program& program_;
    reports::FixedReports& reports_;
    const ReportPlan& plan_;
    Target target_;
    QString name_;
    QWidget* window_;
    std::unique_ptr<CustomReportData> data_;
};

bool Run::step(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const db::DbError& e) {
        data_.reset(); // before the handler may close the collection under it
        if (forTheHandler(e))
            HandleDbError(program_, e);
        else
            message(translate("CustomReport",
                              "The report could not be made: the collection could not answer its "
                              "query.\n\n%1")
                        .arg(e.text()));
    } catch (const std::overflow_error&) {
        data_.reset();
        message(translate("CustomReport",
                          "The report's totals are too large to be added up; nothing has been "
                          "written."));
    }
    return false;
}

void Run::go() {
    {
        const BusyCursor busy;
        if (!step([&] {
                if (!program_.CollectionDb)
                    throw db::DbError(db::err::NoDatabase,
                                      translate("CustomReport", "No collection is open."));
                data_ = std::make_unique<CustomReportData>(*program_.CollectionDb, plan_);
            }))
            return;
    }
    if (data_->isEmpty()) {
        program_.dialogs().message(noRecordsMessage());
        return;
    }
    switch (target_) {
    case Target::Screen:
        preview();
        break;
    case Target::TextFile:
        writeFile(reports::FileTarget::Text);
        break;
    case Target::WebTable:
        writeFile(reports::FileTarget::Html);
        break;
    }
}

void Run::preview() {
    reports::frmOutput& window = reports_.previewWindow();
    window.setPageHeading(pageHeading(plan_, program_.HeadingShade, program_.BodyShade));
    const BusyCursor busy;
    // The window comes up once its first pages are in, and repaints while the rest are added;
    // it takes no input meanwhile, so nothing can close the collection under the query.
    bool shown = false;
    QElapsedTimer sincePaint;
    const auto between = [&](std::int64_t) {
        if (!shown) {
            window.showReport();
            shown = true;
        } else if (!window.isVisible()) {
            return false; // closed by the window system
        } else if (sincePaint.elapsed() < RepaintMs) {
            return true;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sincePaint.start();
        return true;
    };
    std::int64_t stamps = 0;
    if (!step([&] {
            stamps = fillPreview(window.document(), *data_, program_.regional, QDate::currentDate(),
                                 between);
        })) {
        window.document().clear();
        if (shown)
            window.close();
        return;
    }
    reports_.setPreviewReport(name_, stamps);
    if (!shown || window.isVisible())
        window.showReport();
}

void Run::writeFile(reports::FileTarget target) {
    const std::optional<QString> chosen = reports::chooseReportFile(
        program_.dialogs(), target, reports_.suggestedFile(name_, reports::fileSuffix(target)));
    if (!chosen)
        return;
    const durable::ProtectedFiles keep = reports_.protectedFiles();
    if (!mayWriteFile(program_.dialogs(), *chosen, keep))
        return;
    if (!reports::ConfirmReplace(program_, *chosen))
        return;
    const BusyCursor busy;
    try {
        std::int64_t stamps = 0;
        if (step([&] {
                stamps = writeReportFile(*data_, target, *chosen, program_.regional, keep);
            }))
            reports_.fileWritten(*chosen, stamps, window_);
    } catch (const durable::FileError& e) {
        message(translate("CustomReport",
                          "The file '%1' could not be written; nothing has been changed.\n%2")
                    .arg(*chosen, e.text()));
    }
}

} // namespace

// A saved layout's reports carry its file's name; an unsaved one's, its title.
QString reportName(const Layout& layout, const QString& layoutFile) {
    return layoutFile.isEmpty() ? layout.title : QFileInfo(layoutFile).completeBaseName();
}

void generateReport(Program& program, reports::FixedReports& reports, const Layout& layout,
                    const FieldCatalogue& offered, const QString& layoutFile, QWidget* window) {
    const PlanResult result = planReport(layout, offered, program.regional);
    if (!result.plan) {
        program.dialogs().message(result.problem.message);
        return;
    }
    const ReportPlan& plan = *result.plan;
    reports.setLayoutFile(layoutFile);
    program.ReportActive = true;
    program.TableFormat = plan.tableFormat;
    program.TableHeading = plan.tableHeading;
    Run(program, reports, plan, layout.target, reportName(layout, layoutFile), window).go();
}

} // namespace perlinex::custom
