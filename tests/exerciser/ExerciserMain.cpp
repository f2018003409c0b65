// kestrel-exerciser: the real program, started as the kestrel program starts
// it, on the embedded demo host fed by the loopback APRS-IS peer, used by a
// random but replayable user. See Exerciser.h for what fails a run.
//
//   kestrel-exerciser [--seed N] [--seconds 120] [--rate 500] [--stations 50000]
//                     [--memory-mb 2048] [--stall-limit-ms 1000] [--quiet] [--keep]
//
// Prints its seed first; the same seed makes the same choices again (what
// they meet depends on the feed's timing too). Everything it writes stays
// below one temporary folder, which is removed after a passing run.
#include "Exerciser.h"
#include "StackSampler.h"

#include "app/AppIcon.h"
#include "app/KestrelApplication.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "core/AppInfo.h"
#include "core/HostApplication.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>


namespace {

struct Arguments
{
    ExerciseOptions exercise;
    int rate = 500;
    int stations = 50000;
    bool keep = false;
};

bool parse(int argc, char **argv, Arguments *out)
{
    out->exercise.seed = QRandomGenerator::system()->generate64() % 1000000000;
    for (int i = 1; i < argc; ++i) {
        const QByteArray name = argv[i];
        auto number = [&](auto *target) {
            if (i + 1 >= argc)
                return false;
            *target = std::remove_reference_t<decltype(*target)>(std::strtoll(argv[++i], nullptr, 10));
            return true;
        };
        bool ok = true;
        if (name == "--seed") ok = number(&out->exercise.seed);
        else if (name == "--seconds") ok = number(&out->exercise.seconds);
        else if (name == "--rate") ok = number(&out->rate);
        else if (name == "--stations") ok = number(&out->stations);
        else if (name == "--memory-mb") ok = number(&out->exercise.memoryLimitMb);
        else if (name == "--stall-limit-ms") ok = number(&out->exercise.stallLimitMs);
        else if (name == "--quiet") out->exercise.quiet = true;
        else if (name == "--keep") out->keep = true;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: kestrel-exerciser [--seed N] [--seconds S] [--rate FRAMES] [--stations N] "
                                 "[--memory-mb MB] [--stall-limit-ms MS] [--quiet] [--keep]\n");
            return false;
        }
    }
    return true;
}

// Every folder a desktop program writes to, inside the run's own folder.
void confine(const QString &root)
{
    for (const char *sub : {"home", "config-home", "data-home", "cache", "data", "config"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    auto set = [&root](const char *variable, const char *sub) {
        qputenv(variable, (root + u'/' + QString::fromLatin1(sub)).toLocal8Bit());
    };
    set("HOME", "home");
    set("XDG_CONFIG_HOME", "config-home");
    set("XDG_DATA_HOME", "data-home");
    set("XDG_CACHE_HOME", "cache");
    set("KESTREL_DATA_DIR", "data");
    set("KESTREL_CONFIG_DIR", "config");
    for (const char *variable : {"KESTREL_PROMPTS", "KESTREL_SCREENSHOT", "KESTREL_HOST_HEADLESS"})
        qunsetenv(variable);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir::setCurrent(root);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// The demo host as a new user gets it, listening to the peer besides its own replays.
QString prepareHost(const QString &root, quint16 port)
{
    const QString install = QStringLiteral(KESTREL_SOURCE_DIR "/scripts/install-demo");
    if (QProcess::execute(QStringLiteral("bash"), {install}) != 0)
        return {};
    const QString host = root + QStringLiteral("/data/DemoHost");
    const QByteArray ini = "[Host]\r\nBeaconInterval=10\r\nLogging=1\r\n"
                           "[Feed1]\r\nType=replay\r\nFile=DemoTraffic.txt\r\nSpeed=1\r\nLoop=1\r\n"
                           "[Feed2]\r\nType=dxreplay\r\nFile=DemoSpots.txt\r\nSpeed=30\r\nLoop=1\r\n"
                           "[Feed3]\r\nType=aprs-is\r\nHost=127.0.0.1\r\nPort="
                           + QByteArray::number(port) + "\r\nFilter=r/51.75/-1.25/300\r\n";
    const QByteArray settings = "[Paths]\r\nUIVIEW32=" + host.toLocal8Bit() + "\r\n[Plotting]\r\nphg=True\r\n";
    if (!writeFile(host + QStringLiteral("/KestrelHost.ini"), ini)
        || !writeFile(root + QStringLiteral("/config/Kestrel.ini"), settings))
        return {};
    return host;
}

// A step of the user-interface thread at least every `limit`, or the run
// ends here. While it takes over half a second, a few samples of its stack
// show what holds it. Once the main window's close is accepted the shutdown
// may take its time: no samples, and a wider limit.
void watchForHang(int limitSeconds, quint64 seed)
{
    StackSampler::install();
    std::thread([limitSeconds, seed] {
        constexpr int kTenthsBeforeSampling = 5;
        constexpr int kMostSamples = 8;
        constexpr int kShutdownWidening = 4;
        qint64 last = -1;
        int quietTenths = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const qint64 now = Exerciser::progress().load();
            quietTenths = now == last ? quietTenths + 1 : 0;
            last = now;
            const bool closing = StackSampler::stopped();
            if (!closing && quietTenths >= kTenthsBeforeSampling && quietTenths % 2 == 1
                && quietTenths < kTenthsBeforeSampling + 2 * kMostSamples)
                StackSampler::sampleAndPrint("--- the user-interface thread, busy for over half a second, is in:\n");
            if (quietTenths >= limitSeconds * 10 * (closing ? kShutdownWidening : 1)) {
                std::printf("FAILED: the user-interface thread has not answered for %d s%s\nreplay with --seed %llu\n",
                            quietTenths / 10, closing ? " while shutting down" : "",
                            static_cast<unsigned long long>(seed));
                std::fflush(stdout);
                std::abort();
            }
        }
    }).detach();
}

// Opening a log "with the desktop" would start another program outside the run.
class UrlSink : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { std::printf("(the desktop would open %s)\n", qPrintable(url.toString())); }
};

} // namespace

int main(int argc, char **argv)
{
    Arguments arguments;
    if (!parse(argc, argv, &arguments))
        return 2;
    const ExerciseOptions &options = arguments.exercise;
    std::printf("seed %llu\n", static_cast<unsigned long long>(options.seed));
    std::printf("replay with: kestrel-exerciser --seed %llu --seconds %d --rate %d --stations %d\n",
                static_cast<unsigned long long>(options.seed), options.seconds, arguments.rate, arguments.stations);
    std::fflush(stdout);

    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/kestrel-exercise-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    root.setAutoRemove(false);
    confine(root.path());

    KestrelApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title);
    QApplication::setApplicationVersion(AppInfo::VersionText);
    QApplication::setWindowIcon(AppIcon::icon());
    UrlSink urls;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");
    // The offscreen platform's complaints about window hints say nothing about Kestrel.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    });

    QProcess peer;
    peer.setProcessChannelMode(QProcess::SeparateChannels);
    peer.start(QStringLiteral(SOAK_PEER_PATH),
               {QStringLiteral("0"), QString::number(arguments.rate), QString::number(arguments.stations),
                QString::number(options.seconds + 600)});
    const bool peerUp = peer.waitForStarted(10000) && peer.waitForReadyRead(10000);
    const quint16 port = peerUp ? quint16(QString::fromLatin1(peer.readLine()).section(u' ', 2).trimmed().toUInt()) : 0;
    const QString host = port ? prepareHost(root.path(), port) : QString();
    if (host.isEmpty()) {
        std::fprintf(stderr, "could not start the peer or set up the demo host in %s\n", qPrintable(root.path()));
        return 2;
    }
    std::printf("folders in %s, peer on port %u: %d frames/s over %d stations\n", qPrintable(root.path()), port,
                arguments.rate, arguments.stations);

    Program program;
    if (!program.mainWindow()) {
        std::fprintf(stderr, "the program did not start\n");
        return 2;
    }
    frmMain &main = *program.mainWindow();
    qint64 frames = 0;
    qint64 eventsAtStart = 0;
    QObject::connect(&main, &frmMain::loaded, &main, [&main, &frames, &eventsAtStart, &app] {
        eventsAtStart = app.watchdog().events();
        if (HostApplication *hostApplication = main.host())
            QObject::connect(hostApplication, &HostApplication::frameReceived, &main, [&frames] { ++frames; });
    });

    QObject::connect(&main, &frmMain::closing, [] { StackSampler::stop(); });
    Exerciser exerciser(main, app.watchdog(), options, root.path());
    watchForHang(int(qMax<qint64>(30, options.stallLimitMs * 3 / 1000)), options.seed);
    exerciser.start();
    QApplication::exec();

    const double seconds = exerciser.seconds();
    std::printf("exercise %s: %.0f s after start-up, %d steps\n", exerciser.passed() ? "passed" : "FAILED", seconds,
                exerciser.actions());
    std::printf("watchdog after start-up: %s\n", qPrintable(app.watchdog().summary()));
    if (!app.watchdog().worstStallCulprit().isEmpty())
        std::printf("worst stall in: %s\n", qPrintable(app.watchdog().worstStallCulprit()));
    std::printf("cpu %.1f%% of a core, peak memory %lld MB, frames taken %lld (%.0f/s)\n",
                seconds > 0 ? 100.0 * double(exerciser.cpuMsSinceStart()) / (seconds * 1000) : 0.0,
                Exerciser::peakResidentMb(), frames, seconds > 0 ? double(frames) / seconds : 0.0);
    std::printf("events %.0f/s on the user-interface thread\n",
                seconds > 0 ? double(app.watchdog().events() - eventsAtStart) / seconds : 0.0);
    peer.kill();
    peer.waitForFinished(5000);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    if (exerciser.passed() && !arguments.keep)
        root.remove();
    else
        std::printf("the run's folders are kept in %s\n", qPrintable(root.path()));
    return exerciser.passed() ? 0 : 1;
}

#include "ExerciserMain.moc"
