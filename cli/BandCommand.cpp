// kestrel-tool band FREQ [--file BandDetails.txt]: the band a frequency is filed under.
#include "cli/Commands.h"

#include "dx/BandTable.h"

int runBand(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    QStringList rest = args;
    QString file;
    const qsizetype flag = rest.indexOf(QStringLiteral("--file"));
    if (flag >= 0) {
        if (flag + 1 >= rest.size()) {
            err << "usage: kestrel-tool band FREQ [--file BandDetails.txt]\n";
            return 2;
        }
        file = rest.at(flag + 1);
        rest.remove(flag, 2);
    }
    if (rest.size() != 1) {
        err << "usage: kestrel-tool band FREQ [--file BandDetails.txt]\n";
        return 2;
    }
    BandTable table;
    if (!file.isEmpty()) {
        QList<BandDetail> bands;
        QStringList problems;
        QString error;
        if (!BandTable::readFile(file, &bands, &problems, &error)) {
            err << "band: cannot read " << file << ": " << error << "\n";
            return 1;
        }
        for (const QString &problem : problems)
            err << "band: " << file << ": " << problem << ", skipped\n";
        table.setBands(bands);
    }
    const QString band = table.GetBand(rest.first());
    if (json)
        out << "{\"band\":" << jsonQuote(band) << "}\n";
    else
        out << band << "\n";
    return 0;
}
