#pragma once

#include "host/aprs/Telemetry.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <climits>

// What one APRS information field says about a station.
struct AprsReport
{
    enum class Kind {
        Unknown, Position, MicE, Object, Item, Status, PositionlessWeather, Message, ThirdParty, Telemetry
    };

    Kind kind = Kind::Unknown;
    bool hasPosition = false;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    int ambiguity = 0;     // number of trailing digits left blank (0-4)
    bool compressed = false;

    QChar symbolTable;  // null when the report carries no symbol
    QChar symbolCode;

    int course = -1;          // degrees 0-360, -1 when not sent
    double speed = -1;        // knots, -1 when not sent
    int altitude = INT_MIN;   // feet, INT_MIN when not sent

    // A weather station's compressed position carries the wind where others
    // carry course and speed.
    int windDirection = -1;   // degrees, -1 when not sent
    double windSpeed = -1;    // miles per hour, -1 when not sent

    bool hasStatus = false;
    QString status;

    QString objectName;  // objects and items
    bool killed = false;

    QString comment;  // text after the position and its extensions

    QString timestamp;    // as sent: "DDHHMMz", "DDHHMM/" or "HHMMSSh"; empty when none
    QString micEMessage;  // the Mic-E message type ("En Route", "Emergency", "Custom-3" ...)
    bool emergency() const { return micEMessage == QLatin1String("Emergency"); }
    QChar dao;            // datum letter of a DAO extension that refined the position
    double range = -1;    // miles, a compressed position's radio range; -1 when not sent

    // Telemetry carried in the comment ("|ss11|" or Mic-E's hex pairs), kept as a T# report is.
    bool hasTelemetry = false;
    telemetry::Report telemetry;

    // A weather station that sends no position ("_", or an Ultimeter's counters):
    // its readings in the "_" form weather files hold; empty when none.
    QString weather;

    // Messages ":ADDRESSEE:text{id"
    QString addressee;
    QString messageText;
    QString messageId;
};

// Decodes an information field. destination is needed for Mic-E, whose
// latitude travels in the destination address. Never throws, never reads past
// the end: a field it cannot make sense of gives Kind::Unknown, no position.
AprsReport decodeAprs(QStringView destination, QStringView payload);

// Pieces, public for tests and the Mic-E decoder.
namespace aprs {
// "/", "\\", an overlay letter or digit (compressed positions: a-j for the digits).
bool isSymbolTable(QChar c, bool compressed);
// Printable ASCII.
bool isSymbolCode(QChar c);
// "DDMM.mmH/DDDMM.mmH$" at the start of text; fills position, symbol, ambiguity.
bool decodeUncompressed(QStringView text, AprsReport *report);
// "TYYYYXXXX$csT" at the start of text.
bool decodeCompressed(QStringView text, AprsReport *report);
bool decodeMicE(QStringView destination, QStringView payload, AprsReport *report);
// Course/speed, PHG-type extensions, "/A=" altitude, DAO and base-91
// telemetry in the comment.
void decodeComment(QStringView comment, bool courseAllowed, AprsReport *report);
// Takes "!W..!"/"!w..!" out of the comment and adds its digits to the position.
void applyDao(AprsReport *report);
// Takes "|ss11..|" out of the comment into the report's telemetry.
void takeCommentTelemetry(AprsReport *report);
// The length of text in UTF-8 bytes, which is how name fields are counted.
qsizetype utf8Size(QStringView text);
// A GPS receiver's own sentence sent as the whole payload: $GPRMC, $GPGGA or
// $GPGLL (any talker), with or without its checksum; a wrong checksum or a
// fix the receiver marks invalid gives no position.
bool decodeNmea(QStringView payload, AprsReport *report);
// A status that starts with a 4 or 6 character Maidenhead locator and a
// symbol ("IO91SV/- text"): the station sits at the centre of the square.
bool decodeLocatorStatus(QStringView text, AprsReport *report);
} // namespace aprs
