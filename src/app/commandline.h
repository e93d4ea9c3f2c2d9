#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace perlinex {
class Program;
}

// The command line: the window on a collection folder, and the subcommands that need no
// display (making a new collection, generating one, checking and repairing one).
namespace perlinex::app {

// What the command line asks for.
struct CommandLine {
    enum class Action { OpenWindow, RunCommand };
    Action action = Action::OpenWindow;
    QString folder; // OpenWindow: the folder named; empty for the default one
    // OpenWindow: the shared collection named by --server (SERVER[#COLLECTION]); empty for
    // a folder.
    QString server;
    // OpenWindow: a custom report layout (FILE.rpt, made absolute) to open in the designer,
    // on the default collection; as a double click on a layout file starts the program.
    QString layoutFile;
};

// Whether the subcommand draws (a report as PDF needs fonts): it then runs with a GUI
// application on the offscreen platform.
bool commandDraws(const QStringList& arguments);

// A subcommand says only its own words: the toolkit's own warnings (such as an unset
// XDG_RUNTIME_DIR at start-up) are not printed; its critical errors still are. Called before
// the application object is made.
void quietenToolkitWarnings();

// Tells the window from the subcommands. Help, version and wrong arguments are subcommands
// too: runCommand answers them.
CommandLine parseCommandLine(const QStringList& arguments);

// Runs a subcommand (help, version, new, generate, check, repair) or explains wrong arguments;
// returns its exit status: 0 done, 1 failed (check: damaged), 2 wrong arguments. -1 when the
// arguments are for the window. Questions of a repair are read from in (standard input when
// none is given).
int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
               QTextStream* in = nullptr);

// The folder the window opens when the command line names none.
QString defaultFolder();

// Makes sure the window's folder holds a collection and the field catalogue.
// A shared collection is opened on its server (DbError when that fails) and gets this desk's
// own folder for it. A folder that
// has no collection gets a new, empty one, after asking when ask is set (a mistyped folder is
// then caught); false when the user declines.
bool prepareCollectionFolder(Program& program, bool ask);

} // namespace perlinex::app
