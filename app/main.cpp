#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/KestrelApplication.h"
#include "app/Program.h"
#include "app/ScreenshotSwitch.h"
#include "app/frmMain.h"
#include "core/AppInfo.h"

#include <QApplication>
#include <QThreadPool>

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

    int code = 0;
    {
        Program program;
        if (program.mainWindow()) {
            startScreenshotSwitch(*program.mainWindow());
            code = QApplication::exec();
        }
    }
    // Work left on the pool (a log read, a cache trim, a tile decoded) may use
    // Qt's own objects, database connections among them: it ends before they do.
    QThreadPool::globalInstance()->waitForDone();
    return code;
}
