#pragma once

#include <QStringList>
#include <QTextStream>

// The subcommands that need no display: making a new collection and generating one.
namespace perlinex::app {

// Runs a subcommand when the arguments name one; returns its exit status, or -1 when the
// arguments are for the window.
int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace perlinex::app
