#include "ui/filetarget.h"

#include <QCoreApplication>

namespace perlinex {

bool mayWriteFile(DialogService& dialogs, const QString& fileName,
                  const durable::ProtectedFiles& keep) {
    try {
        durable::checkUserTarget(fileName, keep);
        return true;
    } catch (const durable::FileError& e) {
        dialogs.message(QCoreApplication::translate("FileTarget",
                                                    "%1\n\nNothing has been written; choose "
                                                    "another file name.")
                            .arg(e.text()),
                        ProgramTitle, Buttons::Ok, Icon::Warning);
        return false;
    }
}

} // namespace perlinex
