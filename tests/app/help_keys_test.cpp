// Every key the help pages name is one a window of the program answers.
#include "main_window_fixture.h"
#include "window_keys.h"

#include "app/frmbackup.h"
#include "app/helpviewer.h"
#include "codes/frmcodesmaint.h"
#include "dates/frmdateent.h"
#include "find/frmfind.h"
#include "reports/frmoutput.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTabWidget>

namespace {

// The keys named in the help pages, by page: Alt and Ctrl combinations and function keys.
QMultiMap<QString, QString> keysNamedInTheHelp() {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression key(QStringLiteral(
        "(?<![\\w+])((?:(?:Ctrl|Alt|Shift)\\+)+(?:PgUp|PgDn|Left|Right|Up|Down|Tab|Home|End|"
        "[A-Z0-9])|F\\d{1,2})(?![\\w+])"));
    QMultiMap<QString, QString> named;
    const QDir help(QStringLiteral(":/help"));
    for (const QString& page : help.entryList({QStringLiteral("*.html")})) {
        QFile file(help.filePath(page));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll()).replace(tag, QStringLiteral(" "));
        for (auto m = key.globalMatch(text); m.hasNext();) {
            const QString found = m.next().captured(1);
            // Shift alone with a key is typing, not a command.
            if (found.startsWith(QLatin1Char('F')) || found.contains(QLatin1String("Ctrl+")) ||
                found.contains(QLatin1String("Alt+")))
                named.insert(page, found);
        }
    }
    return named;
}

QKeySequence sequenceOf(QString named) {
    named.replace(QLatin1String("PgDn"), QLatin1String("PgDown"));
    return QKeySequence(named, QKeySequence::PortableText);
}

} // namespace

TEST_F(MainWindowTest, HelpKeys_EveryKeyTheHelpNamesIsOneAWindowAnswers) {
    QSet<QKeySequence> answered;
    const auto take = [&](QWidget* window) {
        QApplication::processEvents();
        answered += windowkeys::keysOf(window);
    };
    open({{"Penny Black", "SG 1"}});
    auto* tabs = find<QTabWidget>("SSTab1");
    for (const bool editing : {false, true}) {
        if (editing)
            type("txtColor", QStringLiteral("black"));
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            take(w.get());
        }
    }
    click("cmdCancel");
    {
        frmCodesMaint codes(*program);
        codes.showTable(3);
        take(&codes);
    }
    {
        HelpViewer help;
        help.show();
        take(&help);
    }
    {
        frmDateEnt calendar(*program, w.get());
        calendar.show();
        take(&calendar);
    }
    {
        frmFind findDialog(*program, w.get());
        findDialog.show();
        take(&findDialog);
    }
    {
        reports::frmOutput preview(dialogs, w.get());
        preview.show();
        take(&preview);
    }
    {
        frmBackup backupWindow(*program, w.get());
        backupWindow.show();
        take(&backupWindow);
    }
    act("mnuRptCustom")->trigger();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmRptSpec") && top->isVisible()) {
            take(top);
            top->setAttribute(Qt::WA_DeleteOnClose);
            top->close();
        }
    // Keys the widgets answer themselves: a date field's drop-down opens the calendar, whose
    // days step by month and year.
    for (const char* built : {"F4", "Alt+Down", "Ctrl+PgUp", "Ctrl+PgDown"})
        answered << QKeySequence(QString::fromLatin1(built), QKeySequence::PortableText);

    const QMultiMap<QString, QString> named = keysNamedInTheHelp();
    ASSERT_TRUE(named.values().contains(QStringLiteral("Alt+O"))) << "the help pages were read";
    for (auto it = named.cbegin(); it != named.cend(); ++it)
        EXPECT_TRUE(answered.contains(sequenceOf(it.value())))
            << it.key().toStdString() << " names " << it.value().toStdString();
}
