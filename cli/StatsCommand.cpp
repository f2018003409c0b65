// kestrel-tool stats FILE: the bars of a statistics file with their colours.
#include "cli/Commands.h"

#include "statistics/StatisticsFile.h"

int runStats(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool stats FILE\n";
        return 2;
    }
    // The default thresholds, whatever this user's settings say.
    StatisticsFile::Loaded loaded{StatisticsSeries(StatisticsThresholds{})};
    QString error;
    if (!StatisticsFile::load(args.first(), loaded, &error)) {
        err << "stats: cannot read " << args.first() << ": " << error << "\n";
        return 1;
    }
    const QString form = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    if (json) {
        QStringList bars;
        for (const StatisticsBar &bar : loaded.series.bars())
            bars << QStringLiteral("{\"time\":\"%1\",\"value\":%2,\"colour\":\"%3\"}")
                        .arg(bar.time.toString(form))
                        .arg(bar.value)
                        .arg(QLatin1String(barColourName(bar.colour)));
        out << "{\"bars\":[" << bars.join(u',') << "],\"skipped\":" << loaded.skipped << "}\n";
        return 0;
    }
    for (const StatisticsBar &bar : loaded.series.bars())
        out << bar.time.toString(form) << '\t' << bar.value << '\t' << barColourName(bar.colour) << "\n";
    if (loaded.skipped > 0)
        err << "stats: " << loaded.skipped
            << (loaded.skipped == 1 ? " line could not be read and was skipped\n" : " lines could not be read and were skipped\n");
    return 0;
}
