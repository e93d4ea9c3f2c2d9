#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "ui/program.h"

namespace perlinex::reports {
class FixedReports;
}

namespace perlinex::custom {

// "Generate Report": runs a layout on the open collection and sends it to the layout's target,
// with the preview window and save folder of the fixed reports.
//
// A layout that makes no report (no fields, every field hidden, a bound that is not a number)
// and a query that finds nothing get their message, and no window opens and no file is
// touched. A query the collection cannot answer is reported and ends the run, not the program;
// damage met on the way goes to the common error handler, which repairs the collection.
// layoutFile, the file the layout was read from or saved to (empty for none), is never written
// over by the report, as the collection's files are not.
// window, the window the report is made from, says where a report file went.
void generateReport(Program& program, reports::FixedReports& reports, const Layout& layout,
                    const FieldCatalogue& offered, const QString& layoutFile = QString(),
                    QWidget* window = nullptr);

} // namespace perlinex::custom
