#include "host/aprs/Telemetry.h"

#include "host/aprs/Decimal.h"

#include <QVarLengthArray>
#include <cmath>

namespace telemetry {

namespace {

constexpr int MaxSequence = 5;
constexpr int MaxText = 80;  // a definition field longer than this is not one

bool readNumber(QStringView text, double *value)
{
    text = text.trimmed();
    return text.size() <= 20 && parseDecimal(text, value);
}

bool isBit(QChar c) { return c == u'0' || c == u'1'; }

QVarLengthArray<QStringView, 16> splitFields(QStringView text, int maxFields)
{
    QVarLengthArray<QStringView, 16> fields;
    for (QStringView field : text.tokenize(u',')) {
        if (fields.size() == maxFields)
            break;
        fields.append(field);
    }
    return fields;
}

} // namespace

bool parseReport(QStringView payload, Report *report)
{
    if (!payload.startsWith(QLatin1String("T#")))
        return false;
    const auto fields = splitFields(payload.mid(2), 1 + AnalogChannels + 1);
    if (fields.size() < 2)
        return false;
    const QStringView sequence = fields[0].trimmed();
    if (sequence.size() > MaxSequence)
        return false;
    for (QChar c : sequence)
        if (!c.isLetterOrNumber() || c.unicode() > 0x7F)
            return false;
    Report parsed;
    parsed.sequence = sequence.toString();
    for (int i = 1; i < fields.size() && i <= AnalogChannels; ++i) {
        double value = 0;
        if (!readNumber(fields[i], &value))
            break;
        parsed.analog[size_t(i - 1)] = value;
        parsed.analogCount = i;
    }
    if (parsed.analogCount == 0)
        return false;
    if (parsed.analogCount == AnalogChannels && fields.size() > AnalogChannels + 1) {
        // Eight bits, possibly followed by a comment.
        const QStringView bits = fields[AnalogChannels + 1];
        qsizetype n = 0;
        while (n < bits.size() && n < Bits && isBit(bits[n]))
            ++n;
        parsed.bits = bits.left(n).toString();
    }
    *report = parsed;
    return true;
}

bool Definitions::apply(QStringView messageText)
{
    const QStringView text = messageText.trimmed();
    if (text.size() < 5 || text[4] != u'.')
        return false;
    const QStringView kind = text.left(4);
    const QStringView body = text.mid(5);
    if (kind == u"PARM" || kind == u"UNIT") {
        auto &target = kind == u"PARM" ? names : units;
        const auto fields = splitFields(body, AnalogChannels + Bits);
        for (size_t i = 0; i < target.size(); ++i)
            target[i] = qsizetype(i) < fields.size() ? fields[qsizetype(i)].trimmed().left(MaxText).toString()
                                                     : QString();
        return true;
    }
    if (kind == u"EQNS") {
        const auto fields = splitFields(body, AnalogChannels * 3);
        for (int channel = 0; channel < AnalogChannels; ++channel) {
            static constexpr double Identity[3] = {0, 1, 0};
            for (int k = 0; k < 3; ++k) {
                const int at = channel * 3 + k;
                double value = Identity[k];
                if (at < fields.size() && !readNumber(fields[at], &value))
                    value = Identity[k];
                equations[size_t(channel)][size_t(k)] = value;
            }
        }
        return true;
    }
    if (kind == u"BITS") {
        qsizetype n = 0;
        while (n < body.size() && n < Bits && isBit(body[n]))
            ++n;
        if (n == 0)
            return false;
        bitSense = body.left(n).toString().leftJustified(Bits, u'1');
        const qsizetype comma = body.indexOf(u',');
        project = comma < 0 ? QString() : body.mid(comma + 1).trimmed().left(MaxText).toString();
        return true;
    }
    return false;
}

QString formatValue(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

HostTelemetry describe(const Station &station)
{
    HostTelemetry result;
    if (!station.hasReport)
        return result;
    const Definitions &d = station.definitions;
    const Report &r = station.latest;
    result.project = d.project;
    result.sequence = r.sequence;
    result.timeHeard = station.timeHeard;
    for (int i = 0; i < r.analogCount; ++i) {
        const auto &eq = d.equations[size_t(i)];
        const double x = r.analog[size_t(i)];
        const QString name = d.names[size_t(i)].isEmpty() ? QStringLiteral("A%1").arg(i + 1) : d.names[size_t(i)];
        result.channels.append({name, formatValue(eq[0] * x * x + eq[1] * x + eq[2]), d.units[size_t(i)]});
    }
    for (int i = 0; i < r.bits.size(); ++i) {
        const size_t at = size_t(AnalogChannels + i);
        const QString name = d.names[at].isEmpty() ? QStringLiteral("B%1").arg(i + 1) : d.names[at];
        const bool on = r.bits[i] == d.bitSense[i];
        const QString label = d.units[at].isEmpty() ? QStringLiteral("On") : d.units[at];
        result.channels.append({name, on ? label : QStringLiteral("Off"), QString()});
    }
    return result;
}

} // namespace telemetry
