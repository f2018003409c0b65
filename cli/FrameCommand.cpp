#include "cli/Commands.h"

#include <QFile>

#include "core/Clock.h"
#include "core/LineText.h"
#include "stations/FrameDecoder.h"

namespace {

// One value per line: line ends and other control characters inside a value
// are written as escapes.
QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QChar(13))
            out += QLatin1String("\\r");
        else if (c == QChar(10))
            out += QLatin1String("\\n");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString reportTimeText(const FrameDecode &frame)
{
    if (frame.rule == ReportTimeRule::Stamp)
        return QStringLiteral("stamp ") + frame.reportTime.toString(QStringLiteral("HH:mm"));
    return reportTimeRuleName(frame.rule);
}

} // namespace

int runFrame(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (!args.isEmpty()) {
        err << "kestrel-tool frame: reads one monitored text from standard input and takes no arguments\n";
        return 2;
    }
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        err << "kestrel-tool frame: cannot read standard input\n";
        return 1;
    }
    // UTF-8 when it is valid UTF-8, else Latin-1, as the host reads frames.
    const QString text = decodeLine(input.readAll());
    // The host's time-heard texts are not known here, so they count as empty.
    const FrameDecode frame = decodeFrame(text, Clock::instance().now());

    if (frame.dropped) {
        if (json)
            out << "{\"dropped\":" << jsonQuote(frame.dropReason) << "}\n";
        else
            out << "dropped: " << frame.dropReason << "\n";
        return 0;
    }

    if (json) {
        out << "{\"source\":" << jsonQuote(frame.source) << ",\"header\":" << jsonQuote(frame.header)
            << ",\"payload\":" << jsonQuote(frame.payload) << ",\"weather\":" << jsonQuote(frame.weather)
            << ",\"report_time\":" << jsonQuote(reportTimeText(frame)) << ",\"events\":[";
        bool first = true;
        for (const FrameEvent &event : frame.events) {
            out << (first ? "" : ",") << "[" << event.type << "," << jsonQuote(event.text) << "]";
            first = false;
        }
        out << "]}\n";
        return 0;
    }

    out << "source: " << oneLine(frame.source) << "\n"
        << "header: " << oneLine(frame.header) << "\n"
        << "payload: " << oneLine(frame.payload) << "\n"
        << "weather: " << oneLine(frame.weather) << "\n"
        << "report_time: " << reportTimeText(frame) << "\n";
    for (const FrameEvent &event : frame.events)
        out << "event: " << event.type << " " << oneLine(event.text) << "\n";
    return 0;
}
