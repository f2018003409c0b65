#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <initializer_list>

// One sub-command of kestrel-tool. run() gets the arguments after the command
// name and returns the exit status: 0 success, 2 bad arguments (after one
// line on err), 1 any other failure.
struct CliCommand
{
    const char *name;
    const char *usage;  // one line for --help
    int (*run)(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
};

// Helpers for plain "name: value" output and for --json.
QString jsonQuote(const QString &text);

// Text from the air or a file, safe to print: control characters (an escape
// sequence could drive the user's terminal, a TAB would shift the columns)
// are shown as \xNN.
QString printable(const QString &text);

// True when every value is a finite number; otherwise says so on err, so
// that the command can refuse (status 1) rather than print "nan" or "inf".
bool allFinite(std::initializer_list<double> values, const char *command, QTextStream &err);
