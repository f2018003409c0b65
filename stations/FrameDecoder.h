#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

// The frame intake's text work, without widgets or host: the received text
// is made canonical (two lines, monitor-form header, CR LF), cut into source
// callsign and payload, and the payload is looked at for a weather part, the
// time of the report and the event-log entries it produces.

// One entry for the terminal's event log.
struct FrameEvent
{
    enum Type { Information = 1, Ignored = 2 };

    int type = Information;
    QString text;
    QString callsign;

    bool operator==(const FrameEvent &other) const = default;
};

// How the time of a report was found.
enum class ReportTimeRule {
    None,   // no weather cut, no time
    Host,   // the host's time heard (first or second choice)
    Stamp,  // the payload's time stamp, by its kind, in the configured zone
    Now,    // the host had no time heard (or the stamp was not a time): the present date and time
};

QString reportTimeRuleName(ReportTimeRule rule);

// The text part of one received frame, before the host is asked anything.
struct FrameCut
{
    bool dropped = false;
    QString dropReason;

    QString received;   // as received, the leading flag character removed
    QString canonical;  // monitor-form header, CR LF, payload, CR LF
    QString header;     // the canonical header line, without its line end
    QString source;     // callsign with any SSID
    QString payload;    // without its trailing line end
};

// Everything the intake hands on for one frame.
struct FrameDecode : FrameCut
{
    QString weather;  // the weather part to store, empty when none
    bool phgIgnored = false;
    ReportTimeRule rule = ReportTimeRule::None;
    QDateTime reportTime;
    QList<FrameEvent> events;
    QString objectName;  // the live object or item the payload places, empty when none
};

namespace FrameText {

inline const QString MonitorSuffix = QStringLiteral(" Port=1 <UI C Len=56>:  ");

// Drops a leading "0" or "1".
QString withoutFlag(const QString &text);
// Drops NULs and makes every line end CR LF, ending with one.
QString normaliseLineEnds(const QString &text);
// A text holding no "<UI" gets its short-form first line rewritten to the monitor form.
// Returns false when the first line is too short to be a header.
bool rewriteShortHeader(QString &text);
// The header text before the first ">", without a time stamp prefix; empty when no ">".
QString sourceCallsign(const QString &header);
// Numeric the way operators' acks are: optional sign, digits, one point, exponent.
bool isNumeric(const QString &text);
// Where the symbol code of a position that starts at the given index stands
// (plain "DDMM.hhN/DDDMM.hhW$" or compressed "/YYYYXXXX$csT"); -1 when no
// position starts there.
qsizetype symbolCodeAt(const QString &payload, qsizetype at);
// The same, but only when that symbol is the weather station's "_", whose
// readings follow it. Any other "_" (in a comment, inside compressed bytes)
// starts no weather part.
qsizetype weatherSymbolAt(const QString &payload, qsizetype at);
// The weather part of a payload whose weather symbol stands at code: from
// the symbol on, a compressed position's wind bytes written as "ddd/sss".
QString weatherPart(const QString &payload, qsizetype code);
// The moment a seven-character time stamp names ("DDHHMMz" UTC, "DDHHMM/"
// local, "HHMMSSh" UTC), the latest such moment not ahead of now, as a
// wall-clock time of zone; invalid when the stamp is none of these.
QDateTime stampTime(QStringView stamp, const QDateTime &now, const QTimeZone &zone);
// The name of the object (";" and nine bytes before "*") or item (")" and
// three to nine bytes before "!") a payload places; empty for anything
// else, a killed one included. Bytes are UTF-8 bytes, or characters for a
// line read as Latin-1.
QString placedObjectName(const QString &payload);
// A host time-heard text as a date and time; invalid when it cannot be read.
QDateTime hostTimeValue(const QString &text, const QDate &today);

} // namespace FrameText

// Steps up to the cut of source and payload. Never throws; a text that cannot
// be cut comes back dropped with the reason.
FrameCut cutFrame(const QString &linkText);

// The weather part, report time and event-log entries of a cut frame, given
// the host's two time-heard texts of the source station, the present time
// and the zone report times are filed in.
FrameDecode decodeFrame(const FrameCut &cut, const QString &timeHeard, const QString &timeHeardSecond,
                        const QDateTime &now, const QTimeZone &zone = QTimeZone::systemTimeZone());

// Both in one, for a host that knows nothing of the station.
FrameDecode decodeFrame(const QString &linkText, const QDateTime &now);
