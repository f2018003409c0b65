// kestrel-tool kel FILE: the rows a station list file loads into.
#include "cli/Commands.h"

#include "stations/StationListFile.h"

int runKel(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool kel FILE\n";
        return 2;
    }
    QStringList lines;
    QString error;
    if (!StationListFile::readLines(args.first(), &lines, &error)) {
        err << "kel: cannot read " << args.first() << ": " << error << "\n";
        return 1;
    }
    int skipped = 0;
    QStringList rows;
    for (const QString &line : lines) {
        StationListFile::Parsed parsed;
        if (!StationListFile::parseLine(line, &parsed)) {
            if (!line.trimmed().isEmpty())
                ++skipped;
            continue;
        }
        QStringList cells;
        for (const QString &cell : parsed.cells)
            cells << (json ? jsonQuote(cell) : printable(cell));
        rows << (json ? u'[' + cells.join(u',') + u']' : cells.join(u'\t'));
    }
    if (json)
        out << "{\"rows\":[" << rows.join(u',') << "],\"skipped\":" << skipped << "}\n";
    else
        for (const QString &row : rows)
            out << row << "\n";
    if (skipped > 0 && !json)
        err << "kel: " << skipped << " lines could not be read and were skipped\n";
    return 0;
}
