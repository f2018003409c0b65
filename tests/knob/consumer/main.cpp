// Built against an installed twirl: embeds a knob, turns it and loads the
// installed Designer plugin.
#include <CTwirlCtrl.h>

#include <QApplication>
#include <QPluginLoader>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    CTwirlCtrl knob;
    knob.setValue(10);
    if (knob.Position() != 327 || knob.Version() != QLatin1String("1.0"))
        return 2;
    if (argc > 1) {
        QPluginLoader loader(QString::fromLocal8Bit(argv[1]));
        if (!loader.load()) {
            std::fprintf(stderr, "%s\n", qPrintable(loader.errorString()));
            return 3;
        }
    }
    std::puts("twirl ok");
    return 0;
}
