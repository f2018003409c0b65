#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/KestrelApplication.h"
#include "app/Program.h"
#include "app/ScreenshotSwitch.h"
#include "app/frmMain.h"
#include "core/AppInfo.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Answered before any window system is asked for: they work on a console.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const QString text = CommandLine::answer(arguments); !text.isEmpty()) {
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    KestrelApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title);
    QApplication::setApplicationVersion(AppInfo::VersionText);
    QApplication::setWindowIcon(AppIcon::icon());

    Program program;
    if (!program.mainWindow())
        return 0;
    startScreenshotSwitch(*program.mainWindow());
    return QApplication::exec();
}
