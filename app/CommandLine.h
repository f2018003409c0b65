#pragma once

#include <QString>
#include <QStringList>

// The two arguments every Linux program answers without starting: --help
// and --version. Any other argument leaves the start as it is.
namespace CommandLine {

// The text to print and exit on, or empty to start the program.
QString answer(const QStringList &arguments);

} // namespace CommandLine
