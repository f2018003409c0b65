// kestrel-tool: headless access to Kestrel's decoders, file readers and calculators.
#include "cli/Commands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const CliCommand kCommands[] = {
    {"decode", "decode LINE   (the host station record one TNC2 line SRC>DST,PATH:payload produces)\n"
               "  decode -      (the same for every line of standard input, one record a line)", runDecode},
    {"frame", "frame < TEXT   (one monitored frame on standard input)", runFrame},
    {"kel", "kel FILE      (the rows a station list file loads into, cells separated by TAB)", runKel},
    {"phg", "phg TEXT      (the PHG or RNG circle an information text gives, radius in km)", runPhg},
    {"tz", "tz list | tz dst ZONE \"YYYY-MM-DD HH:MM:SS\" | tz transition YEAR MONTH WEEKDAY N", runTz},
};

void printHelp(QTextStream &out)
{
    out << "Usage: kestrel-tool [--json] COMMAND [ARGS...]\n\n"
           "Commands:\n";
    for (const CliCommand &command : kCommands)
        out << "  " << command.usage << "\n";
    out << "\nOptions:\n"
           "  --json     print one JSON value instead of plain text\n"
           "  --help     show this help\n"
           "  --version  show the version\n";
}

} // namespace

QString jsonQuote(const QString &text)
{
    // Escaped as Qt's JSON writer does, without building a document per
    // string (batch decoding quotes millions of them).
    static const char hex[] = "0123456789abcdef";
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const ushort u = c.unicode();
        switch (u) {
        case '"': quoted += QLatin1String("\\\""); continue;
        case '\\': quoted += QLatin1String("\\\\"); continue;
        case '\b': quoted += QLatin1String("\\b"); continue;
        case '\f': quoted += QLatin1String("\\f"); continue;
        case '\n': quoted += QLatin1String("\\n"); continue;
        case '\r': quoted += QLatin1String("\\r"); continue;
        case '\t': quoted += QLatin1String("\\t"); continue;
        default: break;
        }
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (u < 0x20 || (c.isSurrogate() && !pair && !(c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))) {
            quoted += QLatin1String("\\u");
            for (int shift = 12; shift >= 0; shift -= 4)
                quoted += QLatin1Char(hex[(u >> shift) & 0xF]);
            continue;
        }
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "kestrel-tool " << KESTREL_VERSION << "\n";
        return 0;
    }
    const QString name = args.takeFirst();
    for (const CliCommand &command : kCommands)
        if (name == QLatin1String(command.name))
            return command.run(args, json, out, err);
    err << "kestrel-tool: unknown command '" << name << "' (try --help)\n";
    return 2;
}
