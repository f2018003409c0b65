#include "dx/DxSpotText.h"

namespace DxSpotText {

QString spotter(const QString &spot)
{
    const qsizetype de = spot.indexOf(QLatin1String("de"));
    qsizetype end = spot.indexOf(u':');
    if (end < 0)
        end = spot.indexOf(u'>');
    const qsizetype start = de + 3;
    if (de < 0 || end < 0 || end < start)
        return UnknownSpotter;
    return spot.sliced(start, end - start);
}

QString time(const QString &spot)
{
    return spot.right(5);
}

QString comment(const QString &spot, int firstColumn)
{
    const qsizetype length = spot.size() - (firstColumn - 1) - 5;
    if (length <= 0)
        return {};
    QString text = spot.sliced(firstColumn - 1, length);
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == u' ')
        ++blanks;
    return text.sliced(blanks);
}

} // namespace DxSpotText
