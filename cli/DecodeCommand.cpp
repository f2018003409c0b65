// kestrel-tool decode LINE: the host station record one TNC2 line produces.
#include "cli/Commands.h"

#include "host/StationDatabase.h"
#include "host/Tnc2.h"

#include <QStringList>

namespace {

struct Field
{
    QString name;
    QString text;   // plain output
    QString json;   // JSON value
};

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

int runDecode(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool decode \"SRC>DST,PATH:payload\"\n";
        return 2;
    }
    Tnc2Frame frame;
    if (!parseTnc2(splitTimeStamp(args.first()).text, &frame)) {
        err << "decode: not a frame in TNC2 form (SRC>DST,PATH:payload)\n";
        return 1;
    }
    StationDatabase database;
    const StationDatabase::Result result = database.applyFrame(frame, QString());
    // An object or item is reported under its own name, as the host files it.
    const QString name = result.positioned.isEmpty() ? result.source : result.positioned;
    const StationDatabase::Entry *entry = database.find(name);
    if (!entry)
        entry = database.find(result.source);
    if (!entry) {
        err << "decode: nothing was recorded\n";
        return 1;
    }
    const HostStationRecord r = entry->record();
    const QString direct = r.heardDirect ? QStringLiteral("true") : QStringLiteral("false");
    QList<Field> fields;
    fields.append({"callsign", r.callsign, jsonQuote(r.callsign)});
    if (entry->hasPosition) {
        fields.append({"latitude", number(r.latitude, 4), number(r.latitude, 4)});
        fields.append({"longitude", number(r.longitude, 4), number(r.longitude, 4)});
    }
    fields.append({"symbol_table", r.symbolTable, jsonQuote(r.symbolTable)});
    fields.append({"symbol_code", r.symbolCode, jsonQuote(r.symbolCode)});
    fields.append({"course", QString::number(r.course), QString::number(r.course)});
    fields.append({"speed", QString::number(r.speed), QString::number(r.speed)});
    fields.append({"height", QString::number(r.height), QString::number(r.height)});
    fields.append({"status", r.status, jsonQuote(r.status)});
    fields.append({"heard_direct", direct, direct});
    fields.append({"header", r.header, jsonQuote(r.header)});
    fields.append({"information", r.information, jsonQuote(r.information)});

    if (json) {
        QStringList pairs;
        for (const Field &field : fields)
            pairs.append(jsonQuote(field.name) + u':' + field.json);
        out << u'{' << pairs.join(u',') << "}\n";
    } else {
        for (const Field &field : fields)
            out << field.name << ": " << field.text << "\n";
    }
    return 0;
}
