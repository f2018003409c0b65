#include "app/CommandLine.h"

#include "core/AppInfo.h"

namespace CommandLine {

QString answer(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return AppInfo::Title + u' ' + AppInfo::VersionText + u'\n';
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return QStringLiteral("Usage: kestrel [--help] [--version]\n"
                                  "A desktop companion for APRS operators: stations heard, weather, DX spots,\n"
                                  "satellites and statistics, on an APRS host or the one built in.\n\n"
                                  "  -h, --help     show this text and exit\n"
                                  "  -v, --version  show the version and exit\n\n"
                                  "Settings live in $XDG_CONFIG_HOME/Kestrel.ini and the data folder\n"
                                  "$XDG_DATA_HOME/Kestrel (KESTREL_CONFIG_DIR and KESTREL_DATA_DIR override them).\n"
                                  "kestrel-install-demo sets up a demonstration; kestrel-tool works without windows.\n");
    }
    return {};
}

} // namespace CommandLine
