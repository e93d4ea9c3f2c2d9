#include "ui/filetarget.h"

#include "util/textfields.h"

#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QStatusBar>

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

QString reportFileName(const QString& reportName) {
    QString name = reportName.trimmed();
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'-';
    // A name of dots alone would name a folder.
    if (name.isEmpty() || name.count(u'.') == name.size())
        name = QCoreApplication::translate("FileTarget", "Report");
    return name;
}

void tellFileWritten(DialogService& dialogs, QWidget* window, const QString& fileName,
                     std::int64_t stamps) {
    const QString text = QCoreApplication::translate("FileTarget", "%1 written to %2")
                             .arg(stampCount(stamps), QDir::toNativeSeparators(fileName));
    if (!window)
        return;
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        main->statusBar()->showMessage(text);
        return;
    }
    dialogs.message(text, QCoreApplication::translate("FileTarget", "Report Written"), Buttons::Ok,
                    Icon::Information);
}

} // namespace perlinex
