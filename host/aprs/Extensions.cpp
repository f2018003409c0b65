// Extensions that newer trackers put inside the comment: the DAO digits that
// refine a position and telemetry in base 91.
#include "host/aprs/AprsDecoder.h"

#include <cmath>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
int base91Digit(QChar c) { return c.unicode() >= 33 && c.unicode() <= 123 ? c.unicode() - 33 : -1; }

// Extra minutes one DAO character adds: a digit is the third decimal of the
// minute, a base-91 character splits the hundredth into 91 steps; a blank
// adds nothing.
bool daoMinutes(QChar c, bool base91, double *minutes)
{
    if (c == u' ') {
        *minutes = 0;
        return true;
    }
    if (!base91) {
        if (!isDigit(c))
            return false;
        *minutes = (c.unicode() - '0') / 1000.0;
        return true;
    }
    const int d = base91Digit(c);
    if (d < 0 || d > 90)
        return false;
    *minutes = d / 91.0 * 0.01;
    return true;
}

double awayFromZero(double degrees, double minutes)
{
    return degrees < 0 ? degrees - minutes / 60.0 : degrees + minutes / 60.0;
}

} // namespace

namespace aprs {

void applyDao(AprsReport *report)
{
    QString &comment = report->comment;
    // The last "!" + datum letter + two characters + "!" counts: a comment
    // may hold "!" of its own before it.
    for (qsizetype at = comment.size() - 5; at >= 0; --at) {
        if (comment[at] != u'!' || comment[at + 4] != u'!' || !comment[at + 1].isLetter()
            || comment[at + 1].unicode() > 0x7F)
            continue;
        const QChar datum = comment[at + 1];
        const bool base91 = datum.isLower();
        double lat = 0, lon = 0;
        if (!daoMinutes(comment[at + 2], base91, &lat) || !daoMinutes(comment[at + 3], base91, &lon))
            continue;
        // A compressed position is already finer; an ambiguous one has no
        // digits for these to follow.
        if (report->hasPosition && !report->compressed && report->ambiguity == 0) {
            const double latitude = awayFromZero(report->latitude, lat);
            const double longitude = awayFromZero(report->longitude, lon);
            // Past a pole or the date line the digits were not meant for this position.
            if (std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180) {
                report->latitude = latitude;
                report->longitude = longitude;
            }
        }
        report->dao = datum.toUpper();
        comment.remove(at, 5);
        return;
    }
}

void takeCommentTelemetry(AprsReport *report)
{
    QString &comment = report->comment;
    const qsizetype open = comment.indexOf(u'|');
    if (open < 0)
        return;
    const qsizetype close = comment.indexOf(u'|', open + 1);
    // Sequence and one to five values, perhaps the bits: two characters each.
    const qsizetype length = close - open - 1;
    if (close < 0 || length < 4 || length > 14 || length % 2 != 0)
        return;
    int values[7];
    const int pairs = int(length / 2);
    for (int i = 0; i < pairs; ++i) {
        const int high = base91Digit(comment[open + 1 + 2 * i]);
        const int low = base91Digit(comment[open + 2 + 2 * i]);
        if (high < 0 || high > 90 || low < 0 || low > 90)
            return;
        values[i] = high * 91 + low;
    }
    telemetry::Report &t = report->telemetry;
    t = telemetry::Report();
    t.sequence = QString::number(values[0]).rightJustified(3, u'0');
    const int analog = pairs == 7 ? 5 : pairs - 1;
    for (int i = 0; i < analog; ++i)
        t.analog[size_t(i)] = values[1 + i];
    t.analogCount = analog;
    if (pairs == 7) {
        if (values[6] > 255)
            return;
        // The first channel is the lowest bit.
        for (int bit = 0; bit < telemetry::Bits; ++bit)
            t.bits += (values[6] >> bit) & 1 ? u'1' : u'0';
    }
    report->hasTelemetry = true;
    comment.remove(open, close - open + 1);
}

} // namespace aprs
