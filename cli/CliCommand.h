#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

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
