#include "app/commandline.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "app/translations.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>
#include <csignal>

using namespace perlinex;

int main(int argc, char** argv) {
    // A file-size limit makes a write fail, reported as a full disk, rather than kill the
    // program without a word and leave its temporary files behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const app::CommandLine command = app::parseCommandLine(arguments);
    if (command.action == app::CommandLine::Action::RunCommand) {
        app::quietenToolkitWarnings();
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (app::commandDraws(arguments)) {
            // Pages are laid out with fonts, but nothing is shown.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("perlinex"));
            app::installTranslations();
            return app::runCommand(arguments, out, err);
        }
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("perlinex"));
        app::installTranslations();
        return app::runCommand(arguments, out, err);
    }
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("perlinex"));
    app::installTranslations();
    // The desktop entry's name lets a Wayland shell match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("perlinex"));
    QApplication::setWindowIcon(programIcon());
    const bool named = !command.folder.isEmpty();
    QtDialogs dialogs;
    Program program(dialogs, named ? command.folder : app::defaultFolder());
    if (!command.server.isEmpty())
        program.takeShared(command.server);
    installHelp(program);
    frmMain window(program);
    app.onEnd = [&] { program.closeCollection(); };
    app.onCollectionReopened = [&] { window.reopenStampSet(); };
    app.onUnexpectedError = [&](const QString& text) {
        dialogs.message(text, ProgramTitle, Buttons::Ok, Icon::Critical);
    };
    try {
        bool prepared = false;
        trap(program, [&] {
            try {
                prepared = app::prepareCollectionFolder(program, named);
            } catch (const db::DbError& e) {
                // The handler lets "in use" pass silently; at start-up it ends the program, as
                // a shared collection that cannot be opened does.
                if (e.number() != db::err::FileInUse && !program.shared())
                    throw;
                dialogs.message(e.text(), ProgramTitle, Buttons::Ok, Icon::Critical);
            }
        });
        if (!prepared)
            return 1;
        window.load();
    } catch (const ProgramEnded&) {
        return 1;
    }
    window.show();
    // Once the event loop runs, so that whatever the designer meets is settled as in any slot.
    if (!command.layoutFile.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.customReports(command.layoutFile); });
    return app.exec();
}
