#include "ui/SystemInfo.h"

#include "core/AppInfo.h"
#include "core/Prompts.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");
} // namespace

QList<SystemInfo::Program> SystemInfo::candidates()
{
    // Hardware and system summaries first, then the desktops' own centres.
    return {
        {QStringLiteral("hardinfo2"), {}},
        {QStringLiteral("hardinfo"), {}},
        {QStringLiteral("kinfocenter"), {}},
        {QStringLiteral("gnome-system-monitor"), {}},
        {QStringLiteral("lshw-gtk"), {}},
        {QStringLiteral("cpu-x"), {}},
    };
}

SystemInfo::SystemInfo()
    : find([](const QString &name) { return QStandardPaths::findExecutable(name); }),
      start([](const QString &path, const QStringList &arguments) {
          return QProcess::startDetached(path, arguments);
      })
{
}

SystemInfo::Program SystemInfo::locate() const
{
    for (const Program &candidate : candidates()) {
        const QString path = find(candidate.name);
        if (!path.isEmpty())
            return {path, candidate.arguments};
    }
    return {};
}

bool SystemInfo::StartSysInfo()
{
    const Program program = locate();
    if (!program.name.isEmpty() && start(program.name, program.arguments))
        return true;
    Prompts::instance().message(kUnavailable, AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::None);
    return false;
}
