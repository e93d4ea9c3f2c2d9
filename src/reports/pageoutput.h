#pragma once

#include "util/durablefile.h"

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace perlinex::reports {

class PrintDocument;

// Told before each page with the pages done and the number to do; false cancels.
using OutputProgress = std::function<bool(int done, int total)>;

enum class OutputResult { Done, Cancelled, Failed };

// Draws pages first to last (0-based, inclusive) of a laid-out document, one device page
// each, the page scaled to fit the device's page whole. The device should carry the
// document's page layout (the functions below see to it).
OutputResult drawPages(const PrintDocument& document, QPagedPaintDevice& device, int first,
                       int last, const OutputProgress& progress = {});

// Prints on a printer the print dialog has set up (its page layout is set to the document's
// before the dialog).
OutputResult printPages(const PrintDocument& document, QPrinter& printer, int first, int last,
                        const OutputProgress& progress = {});

// Writes the whole document as a PDF file the user named. The file is replaced only when
// every page was written; a target keep protects, or one that is not a regular file or is
// read-only, is refused (durable::checkUserTarget). On failure error holds the reason.
OutputResult exportPdf(const PrintDocument& document, const QString& fileName,
                       const durable::ProtectedFiles& keep, const OutputProgress& progress = {},
                       QString* error = nullptr);

} // namespace perlinex::reports
