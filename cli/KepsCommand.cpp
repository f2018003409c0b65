// kestrel-tool keps FILE: the element sets an element file gives.
#include "cli/Commands.h"

#include "orbiter/ElementSet.h"
#include "satellites/KepsFile.h"

#include <QDateTime>
#include <QFile>

#include <cmath>

namespace {

QString epochText(const KepsElementSet &set)
{
    orbiter::ElementSet elements;
    if (!orbiter::parseElementSet(set.line1.toLatin1().toStdString(), set.line2.toLatin1().toStdString(), elements))
        return {};
    return QDateTime::fromSecsSinceEpoch(std::llround(elements.epochUnix), Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

int runKeps(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool keps FILE\n";
        return 2;
    }
    QFile file(args.first());
    if (!file.open(QIODevice::ReadOnly)) {
        err << "keps: cannot read " << args.first() << ": " << file.errorString() << "\n";
        return 1;
    }
    const KepsReadResult read = readKeps(file.readAll());
    QStringList rows;
    for (int i = 0; i < read.sets.size(); ++i) {
        const KepsElementSet &set = read.sets[i];
        const QString epoch = epochText(set);
        if (json)
            rows << QStringLiteral("{\"index\":%1,\"name\":%2,\"epoch\":%3}")
                        .arg(i)
                        .arg(jsonQuote(set.name), epoch.isEmpty() ? QStringLiteral("null") : jsonQuote(epoch));
        else
            rows << QStringLiteral("%1\t%2\t%3").arg(i).arg(set.name, epoch.isEmpty() ? QStringLiteral("invalid") : epoch);
    }
    if (json) {
        QStringList failed, incomplete;
        for (const RejectedElementSet &set : read.rejected)
            (set.reason == RejectedElementSet::Reason::CheckDigit ? failed : incomplete) << jsonQuote(set.name);
        out << "{\"sets\":[" << rows.join(u',') << "],\"failed_check\":[" << failed.join(u',')
            << "],\"incomplete\":[" << incomplete.join(u',') << "],\"beyond_capacity\":" << read.beyondCapacity
            << "}\n";
    } else {
        for (const QString &row : rows)
            out << row << "\n";
        for (const RejectedElementSet &set : read.rejected)
            err << "keps: \"" << set.name << "\" skipped: " << set.why() << "\n";
        if (read.beyondCapacity > 0)
            err << "keps: " << read.beyondCapacity << " sets past the first " << ElementTable::Capacity
                << " were not read\n";
    }
    if (read.sets.isEmpty() && read.rejected.isEmpty()) {
        err << "keps: no element sets in " << args.first() << "\n";
        return 1;
    }
    return 0;
}
