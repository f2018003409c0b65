#pragma once

// Runs the built kestrel-tool as a user would. The including test defines
// KESTREL_TOOL_PATH.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

// Standard output; the exit code and standard error where asked for.
[[maybe_unused]] QByteArray runTool(const QStringList &args, int *exitCode = nullptr, QByteArray *errors = nullptr)
{
    QProcess tool;
    tool.start(QStringLiteral(KESTREL_TOOL_PATH), args);
    tool.waitForFinished(60000);
    if (exitCode)
        *exitCode = tool.exitCode();
    if (errors)
        *errors = tool.readAllStandardError();
    return tool.readAllStandardOutput();
}

struct ToolRun
{
    int status = -1;
    QString out;
    QString err;
};

[[maybe_unused]] ToolRun tool(const QStringList &args)
{
    int status = -1;
    QByteArray errors;
    const QByteArray out = runTool(args, &status, &errors);
    return {status, QString::fromUtf8(out), QString::fromUtf8(errors)};
}

} // namespace
