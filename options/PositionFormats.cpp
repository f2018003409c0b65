#include "options/PositionFormats.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "options/NationalGrid.h"
#include "options/NumberText.h"

#include <cmath>

namespace {

QString twoDigits(qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }
QString threeDigits(qint64 value) { return QStringLiteral("%1").arg(value, 3, 10, QChar(u'0')); }

// "dd.mm.hh" or "ddd.mm.hh" from minutes of arc, without the hemisphere.
QString body(float minutes, bool longitude)
{
    // Whole hundredths first: 59.996 minutes must carry into the degrees.
    const double m = std::round(std::fabs(double(minutes)) * 100.0) / 100.0;
    const qint64 degrees = qint64(std::floor(m)) / 60;
    const double rest = m - 60.0 * double(degrees);
    // Always a point, whatever the user's locale.
    const QString restText = QString::number(rest, 'f', 2).rightJustified(5, u'0');
    return (longitude ? threeDigits(degrees) : twoDigits(degrees)) + u'.' + restText;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// A body typed exactly as the form shows it: points at their places and a
// digit everywhere else.
bool hasCanonicalLayout(const QString &text, bool longitude)
{
    const int points[2] = {longitude ? 3 : 2, longitude ? 6 : 5};
    if (text.size() != (longitude ? 9 : 8))
        return false;
    for (int i = 0; i < text.size(); ++i) {
        const bool point = i == points[0] || i == points[1];
        if (point ? text[i] != u'.' : !text[i].isDigit() || text[i].unicode() > 127)
            return false;
    }
    return true;
}

} // namespace

void FormatLatLon(float sLat, float sLon, QString *strLat, QString *strLon)
{
    *strLat = body(sLat, false) + QChar(sLat >= 0 ? u'N' : u'S');
    *strLon = body(sLon, true) + QChar(sLon >= 0 ? u'E' : u'W');
}

QString strValidateLatLon(QString &ctrControl1, QString &ctrControl2, bool bLongitude)
{
    const QString text = ctrControl1.trimmed();
    if (text.isEmpty())
        return QString();

    QString grid = text;
    double northing = 0, easting = 0;
    if (ParseGridReference(grid, &northing, &easting)) {
        double latitude = 0, longitude = 0;
        GridToLatLon(easting, northing, &latitude, &longitude);
        QString latText, lonText;
        FormatLatLon(float(latitude * 60.0), float(longitude * 60.0), &latText, &lonText);
        ctrControl1 = bLongitude ? lonText : latText;
        ctrControl2 = bLongitude ? latText : lonText;
        return PositionCheck::Ok;
    }

    const QChar positive = bLongitude ? u'E' : u'N';
    const QChar negative = bLongitude ? u'W' : u'S';
    const int limit = bLongitude ? 180 : 90;
    const QString failure = bLongitude ? PositionCheck::Longitude : PositionCheck::Latitude;

    const QChar hemisphere = text.back();
    if (hemisphere != positive && hemisphere != negative)
        return failure;
    QString part = text.left(text.size() - 1);
    if (part.isEmpty())
        return failure;

    // Positions below are 1-based, 0 meaning none.
    const int p1 = int(part.indexOf(u'.')) + 1;
    const int p2 = (p1 != 0 && p1 != part.size()) ? int(part.indexOf(u'.', p1)) + 1 : 0;
    int blank = 0;
    for (int i = 0; i < part.size() && blank == 0; ++i)
        if (isBlank(part[i]))
            blank = i + 1;
    // Blanks are tolerated only after the first point.
    if (blank != 0 && !(p1 != 0 && blank > p1))
        return failure;

    QString degreeText = part, minuteText, hundredthText;
    if (p1 != 0 && p2 == 0) {
        degreeText = part.left(p1 - 1);
        minuteText = part.mid(p1);
    } else if (p2 != 0) {
        degreeText = part.left(p1 - 1);
        minuteText = part.mid(p1, p2 - p1 - 1);
        hundredthText = part.mid(p2);
    }
    qint16 degrees = 0, minutes = 0, hundredths = 0;
    if (!NumberText::toInt16(NumberText::leadingNumber(degreeText), &degrees)
        || !NumberText::toInt16(NumberText::leadingNumber(minuteText), &minutes)
        || !NumberText::toInt16(NumberText::leadingNumber(hundredthText), &hundredths))
        return failure;

    if (degrees < 0 || degrees > limit || minutes < 0 || minutes > 59 || hundredths < 0 || hundredths > 99)
        return failure;
    if (degrees == limit && (minutes != 0 || hundredths != 0))
        return failure;

    if (!hasCanonicalLayout(part, bLongitude))
        part = (bLongitude ? threeDigits(degrees) : twoDigits(degrees)) + u'.' + twoDigits(minutes) + u'.'
               + twoDigits(hundredths);
    ctrControl1 = part + hemisphere;
    return PositionCheck::Ok;
}

float sConvertPos(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QChar hemisphere = text.back();
    if (hemisphere != u'N' && hemisphere != u'S' && hemisphere != u'E' && hemisphere != u'W')
        return 0;
    const QString part = text.left(text.size() - 1);
    const qsizetype point = part.indexOf(u'.');
    double minutes = 0;
    if (point < 0)
        minutes = NumberText::leadingNumber(part) * 60.0;
    else
        minutes = NumberText::leadingNumber(QStringView(part).left(point)) * 60.0
                  + NumberText::leadingNumber(QStringView(part).mid(point + 1));
    if (hemisphere == u'S' || hemisphere == u'W')
        minutes = -minutes;
    return float(minutes);
}

bool readMaidenhead(const QString &text, double *latitude, double *longitude)
{
    static const QRegularExpression form(QStringLiteral("^[A-R]{2}[0-9]{2}([A-X]{2}([0-9]{2})?)?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString t = text.trimmed().toUpper();
    if (!form.match(t).hasMatch())
        return false;
    double lon = (t[0].unicode() - u'A') * 20.0 - 180.0 + (t[2].unicode() - u'0') * 2.0;
    double lat = (t[1].unicode() - u'A') * 10.0 - 90.0 + (t[3].unicode() - u'0') * 1.0;
    double lonSize = 2.0, latSize = 1.0;
    if (t.size() >= 6) {
        lonSize /= 24.0;
        latSize /= 24.0;
        lon += (t[4].unicode() - u'A') * lonSize;
        lat += (t[5].unicode() - u'A') * latSize;
    }
    if (t.size() == 8) {
        lonSize /= 10.0;
        latSize /= 10.0;
        lon += (t[6].unicode() - u'0') * lonSize;
        lat += (t[7].unicode() - u'0') * latSize;
    }
    *latitude = lat + latSize / 2.0;
    *longitude = lon + lonSize / 2.0;
    return true;
}

QString maidenheadLocator(double latitude, double longitude)
{
    const double lon = std::clamp(longitude + 180.0, 0.0, 359.999999);
    const double lat = std::clamp(latitude + 90.0, 0.0, 179.999999);
    QString text;
    text += QChar(u'A' + int(lon / 20));
    text += QChar(u'A' + int(lat / 10));
    text += QChar(u'0' + int(std::fmod(lon, 20.0) / 2));
    text += QChar(u'0' + int(std::fmod(lat, 10.0)));
    text += QChar(u'a' + int(std::fmod(lon, 2.0) * 12));
    text += QChar(u'a' + int(std::fmod(lat, 1.0) * 24));
    return text;
}
