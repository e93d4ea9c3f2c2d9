#pragma once

#include "ui/dialogservice.h"
#include "util/durablefile.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace perlinex {

// Before a file the user chose is written (and before asking whether to replace it): a
// target that must not be written (durable::checkUserTarget) is refused with a message box.
// True when it may be written.
bool mayWriteFile(DialogService& dialogs, const QString& fileName,
                  const durable::ProtectedFiles& keep);

// The file name a report suggests: its own name, with the characters no file name may hold
// made "-" ("Stamps For Sale", "Gum/Paper" becomes "Gum-Paper").
QString reportFileName(const QString& reportName);

// Says where a report file went and how many stamps it holds: in the status bar of the window
// the report was made from, or in a message where that window has none (nothing without a
// window).
void tellFileWritten(DialogService& dialogs, QWidget* window, const QString& fileName,
                     std::int64_t stamps);

} // namespace perlinex
