#pragma once

#include <QStringList>
#include <QTextStream>

// velmora-cli: the tournament desk's operations as commands over the same core as the program.
namespace cli {

enum Status { kErfolg = 0, kAbgelehnt = 1, kNutzungsfehler = 2 };

// Runs one command line (without the program name). Output goes to out, messages and errors to err.
// 0 success, 1 input refused (the program's German message is on err), 2 usage error. programDir holds
// Files/ and the default database; empty: the folder of the executable.
int ausfuehren(const QStringList& args, QTextStream& out, QTextStream& err, const QString& programDir = {});

// A line of a batch file split into words: blanks separate, double quotes group, \" is a quote.
QStringList woerter(const QString& zeile);

} // namespace cli
