// kestrel-tool install-demo: sets up the demo host folder and what goes with
// it for the user, as scripts/install-demo and kestrel-install-demo do.
#include "cli/Commands.h"

#include "cli/DemoInstaller.h"
#include "core/IniSettingsStore.h"
#include "core/ShippedData.h"
#include "core/Utilities.h"

int runInstallDemo(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    QDateTime now = QDateTime::currentDateTime();
    if (args.size() == 2 && args[0] == QLatin1String("--at")) {
        now = QDateTime::fromString(args[1], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!now.isValid()) {
            err << "install-demo: --at takes \"YYYY-MM-DD HH:MM:SS\"\n";
            return 2;
        }
    } else if (!args.isEmpty()) {
        err << "install-demo: unexpected " << args.join(u' ') << " (try --help)\n";
        return 2;
    }
    const QString share = ShippedDataFolder();
    if (share.isEmpty()) {
        err << "install-demo: the folder of Kestrel's shipped files was not found (set KESTREL_SHARE_DIR)\n";
        return 1;
    }
    DemoInstaller installer({share, GetDataFolder(), IniSettingsStore::configFolder()}, now);
    QString error;
    const bool done = installer.run(&error);
    if (json) {
        QStringList notes;
        for (const QString &note : installer.notes())
            notes << jsonQuote(note);
        out << "{\"installed\":" << (done ? "true" : "false") << ",\"notes\":[" << notes.join(u',') << "]}\n";
    } else {
        for (const QString &note : installer.notes())
            out << note << '\n';
    }
    if (!done) {
        err << "install-demo: " << error << '\n';
        return 1;
    }
    return 0;
}
