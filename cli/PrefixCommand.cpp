// kestrel-tool prefix CALL --file prefix.txt: the country line a callsign's longest prefix names.
#include "cli/Commands.h"

#include "core/LineText.h"
#include "dx/PrefixDatabase.h"

#include <QFile>

int runPrefix(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    const qsizetype flag = args.indexOf(QStringLiteral("--file"));
    if (args.size() != 3 || flag < 0 || flag == 2) {
        err << "usage: kestrel-tool prefix CALL --file prefix.txt\n";
        return 2;
    }
    const QString path = args.at(flag + 1);
    const QString callsign = args.at(flag == 0 ? 2 : 0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "prefix: cannot read " << path << ": " << file.errorString() << "\n";
        return 1;
    }
    PrefixIndex index;
    int malformed = 0;
    for (const QString &line : decodeLines(file.readAll())) {
        PrefixLine parsed;
        const PrefixFile::LineKind kind = PrefixFile::parseLine(line, &parsed);
        if (kind == PrefixFile::LineKind::Malformed)
            ++malformed;
        if (kind == PrefixFile::LineKind::Data && !index.add(parsed)) {
            err << "prefix: " << path << ": only the first " << PrefixIndex::Capacity << " prefixes were read\n";
            break;
        }
    }
    if (malformed > 0)
        err << "prefix: " << path << ": " << malformed << " lines with fewer than seven fields were skipped\n";

    const DxCountries *hit = index.lookUp(callsign);
    if (json) {
        if (hit)
            out << "{\"prefix\":" << jsonQuote(hit->Prefix) << ",\"country\":" << jsonQuote(hit->Country)
                << ",\"line\":" << jsonQuote(hit->FullPrefix) << "}\n";
        else
            out << "null\n";
    } else if (hit) {
        out << hit->Prefix << '\t' << hit->Country << '\t' << hit->FullPrefix << "\n";
    } else {
        out << "none\n";
    }
    return 0;
}
