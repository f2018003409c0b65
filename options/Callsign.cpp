#include "options/Callsign.h"

#include "options/NumberText.h"

namespace {

QChar maskOf(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return u'N';
    if (c >= u'A' && c <= u'Z')
        return u'A';
    return u' ';
}

} // namespace

bool ValidateCallsign(const QString &callsign)
{
    QString base = callsign;
    const qsizetype dash = callsign.indexOf(u'-');
    if (dash == 0)
        return false;
    if (dash > 0) {
        if (callsign.indexOf(u'-', dash + 1) >= 0)
            return false;
        qint32 ssid = 0;
        if (!NumberText::toInt32(NumberText::leadingNumber(QStringView(callsign).mid(dash + 1)), &ssid)
            || ssid < 0 || ssid > 15)
            return false;
        base = callsign.left(dash);
    }
    if (base.size() < 3 || base.size() > 6)
        return false;

    QString mask;
    for (int i = 0; i < (base.size() == 3 ? 3 : 4); ++i)
        mask.append(maskOf(base[i]));
    return mask.left(3) == QLatin1String("ANA") || mask == QLatin1String("AANA") || mask == QLatin1String("NANA")
           || mask == QLatin1String("ANNA");
}
