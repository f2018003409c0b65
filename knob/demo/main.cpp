// twirl-demo: knobs in a window. "--screenshot FILE" saves the window
// as an image and quits, for checking the drawing without a display.

#include "TwirlDemoWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twirl-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the twirl knob and its signals."));
    parser.addHelpOption();
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save the window to <file> and quit."),
                                  QStringLiteral("file"));
    parser.addOption(shot);
    parser.process(app);

    TwirlDemoWindow w;
    w.show();
    if (parser.isSet(shot)) {
        const QString file = parser.value(shot);
        QTimer::singleShot(100, &w, [&w, file] {
            const bool ok = w.grab().save(file);
            if (!ok)
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
