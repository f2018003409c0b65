// Writes the program's desktop icons into a folder at build time:
// kestrel.svg and kestrel-<size>.png for the sizes the desktop menus use.
#include "app/AppIcon.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel-icon FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QFile svg(folder + QStringLiteral("/kestrel.svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(AppIcon::svg()) < 0) {
        std::fprintf(stderr, "kestrel-icon: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = folder + QStringLiteral("/kestrel-%1.png").arg(size);
        if (!AppIcon::render(size).save(name)) {
            std::fprintf(stderr, "kestrel-icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
