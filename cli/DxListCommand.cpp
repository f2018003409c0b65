// kestrel-tool dxlist FILE: the spots of a saved DX list, one per line.
#include "cli/Commands.h"

#include "dx/DxListFile.h"

int runDxList(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool dxlist FILE\n";
        return 2;
    }
    QList<QStringList> rows;
    int skipped = 0;
    QString error;
    if (!DxListFile::read(args.first(), &rows, &skipped, &error)) {
        err << "dxlist: cannot read " << args.first() << ": " << error << "\n";
        return 1;
    }
    if (json) {
        QStringList spots;
        for (const QStringList &row : rows) {
            QStringList cells;
            for (const QString &cell : row)
                cells << jsonQuote(cell);
            spots << u'[' + cells.join(u',') + u']';
        }
        out << "{\"spots\":[" << spots.join(u',') << "],\"skipped\":" << skipped << "}\n";
        return 0;
    }
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row)
            cells << printable(cell);
        out << cells.join(u'\t') << "\n";
    }
    if (skipped > 0)
        err << "dxlist: " << skipped << " lines without twelve fields were skipped\n";
    return 0;
}
