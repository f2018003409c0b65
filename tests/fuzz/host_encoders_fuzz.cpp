// What the host sends: the APRS-IS login, its own beacon, frames as AX.25
// and KISS for a TNC, and frames in monitor form over the link to Kestrel.
// Each must read back as what was meant: one login line whatever the
// settings hold, the home position in the beacon, the same frame from AX.25,
// and Kestrel's frame intake finding the frame's source and payload.
#include "FuzzSupport.h"

#include "host/aprs/AprsDecoder.h"
#include "host/aprs/Beacon.h"
#include "host/HostConfig.h"
#include "host/aprs/Kiss.h"
#include "host/feeds/NetworkFeeds.h"
#include "host/aprs/Tnc2.h"
#include "stations/FrameDecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

void checkLogin(const QByteArray &callsign, const QByteArray &filter)
{
    // The filter's bytes stand for a passcode too: whatever it is, one line,
    // and "pass" followed by a single word.
    const QByteArray login = AprsIsFeed::loginLine(QString::fromLatin1(callsign), QString::fromLatin1(filter),
                                                   QString::fromLatin1(filter));
    fuzz::require(login.endsWith("\r\n") && login.count('\n') == 1 && login.count('\r') == 1,
                  "the login is one line", QString::fromLatin1(login));
    QByteArray call = callsign;
    call.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    const qsizetype pass = 5 + QString::fromLatin1(call).toLatin1().size();
    fuzz::require(login.mid(pass, 6) == " pass ", "the passcode follows the callsign", QString::fromLatin1(login));
    const QByteArray word = login.mid(pass + 6, login.indexOf(' ', pass + 6) - pass - 6);
    bool number = false;
    word.toInt(&number);
    fuzz::require(number, "the passcode is one number", QString::fromLatin1(login));
}

void checkBeacon(double latitude, double longitude, const HostConfig &config)
{
    const QString payload = beaconPayload(latitude, longitude, config.symbol, config.beaconComment);
    Tnc2Frame frame;
    fuzz::require(parseTnc2(QStringLiteral("N0CALL>APZKES,WIDE2-2:") + payload, &frame), "the beacon is a frame",
                  payload);
    const AprsReport report = decodeAprs(frame.destination, frame.payload);
    // Hundredths of a minute, rounded.
    const double within = 0.0051 / 60;
    fuzz::require(report.hasPosition && std::fabs(report.latitude - latitude) <= within
                      && std::fabs(report.longitude - longitude) <= within,
                  "the beacon carries the home position",
                  payload + QStringLiteral(" for %1 %2").arg(latitude).arg(longitude));
}

QString firstLine(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return text.left(end);
}

// AX.25 has no "-0": G4ABC-0 is G4ABC.
bool sameCall(QString a, QString b)
{
    for (QString *call : {&a, &b})
        if (call->endsWith(QStringLiteral("-0")))
            call->chop(2);
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void checkFrame(const QString &line)
{
    // What the host encodes comes from lines; a frame heard ends at its first
    // line end anyway.
    Tnc2Frame frame;
    if (!parseTnc2(firstLine(line), &frame))
        return;
    QByteArray ax25;
    if (tnc2ToAx25(frame.toLine(), &ax25)) {
        QString decoded;
        Tnc2Frame again;
        fuzz::require(ax25ToTnc2(ax25, &decoded) && parseTnc2(decoded, &again), "an AX.25 frame built decodes",
                      frame.toLine());
        fuzz::require(sameCall(again.source, frame.source) && sameCall(again.destination, frame.destination)
                          && again.path.size() == frame.path.size() && again.payload == frame.payload,
                      "AX.25 carries the frame", frame.toLine() + QStringLiteral(" / ") + decoded);
        KissDeframer deframer;
        fuzz::require(deframer.feed(kissEncode(ax25)) == QList<QByteArray>{ax25}, "KISS carries the frame");
    }
    // Line ends and NULs inside a payload are the link's own separators.
    for (QChar c : frame.payload)
        if (c.unicode() < 0x20)
            return;
    const FrameCut cut = cutFrame(frame.monitorText());
    fuzz::require(!cut.dropped && cut.source == frame.source && cut.payload == frame.payload,
                  "the frame intake reads what the host sends",
                  frame.toLine() + QStringLiteral(" / ") + cut.source + u' ' + cut.dropReason);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    fuzz::Input in(data, size);
    const double latitude = in.u32() / double(UINT32_MAX) * 180.0 - 90.0;
    const double longitude = in.u32() / double(UINT32_MAX) * 360.0 - 180.0;
    const QByteArray symbol = in.bytes(4), comment = in.bytes(60);
    const QByteArray callsign = in.bytes(12), filter = in.bytes(40);

    checkLogin(callsign, filter);
    {
        QFile file(dir.filePath(HostConfig::FileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write("[Host]\r\nSymbol=" + symbol + "\r\nBeaconComment=" + comment + "\r\n");
    }
    checkBeacon(latitude, longitude, HostConfig::read(dir.path()));
    checkFrame(QString::fromLatin1(in.rest()));
    return 0;
}
