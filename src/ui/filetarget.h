#pragma once

#include "ui/dialogservice.h"
#include "util/durablefile.h"

#include <QString>

namespace perlinex {

// Before a file the user chose is written (and before asking whether to replace it): a
// target that must not be written (durable::checkUserTarget) is refused with a message box.
// True when it may be written.
bool mayWriteFile(DialogService& dialogs, const QString& fileName,
                  const durable::ProtectedFiles& keep);

} // namespace perlinex
