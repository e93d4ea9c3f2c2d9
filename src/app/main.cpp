#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace perlinex;

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const app::CommandLine command = app::parseCommandLine(arguments);
    if (command.action == app::CommandLine::Action::RunCommand) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return app::runCommand(arguments, out, err);
    }
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("perlinex"));
    const bool named = !command.folder.isEmpty();
    QtDialogs dialogs;
    Program program(dialogs, named ? command.folder : app::defaultFolder());
    installHelp(program);
    frmMain window(program);
    app.onEnd = [&] { program.closeCollection(); };
    app.onCollectionReopened = [&] { window.reopenStampSet(); };
    app.onUnexpectedError = [&](const QString& text) {
        dialogs.message(text, ProgramTitle, Buttons::Ok, Icon::Critical);
    };
    try {
        bool prepared = false;
        trap(program, [&] { prepared = app::prepareCollectionFolder(program, named); });
        if (!prepared)
            return 1;
        window.load();
    } catch (const ProgramEnded&) {
        return 1;
    }
    window.show();
    return app.exec();
}
