#include "app/AppIcon.h"
#include "app/KestrelApplication.h"
#include "app/Program.h"
#include "app/ScreenshotSwitch.h"
#include "app/frmMain.h"
#include "core/AppInfo.h"

#include <QApplication>

int main(int argc, char **argv)
{
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
