#include "stations/subFunctions.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPixmap>

#include <cmath>

#include "core/HostApplication.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowRegistry.h"

namespace {
std::function<void()> &stationInfoHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

QString GetPathFromHeader(const QString &strHeader)
{
    const qsizetype gt = strHeader.indexOf(QLatin1Char('>'));
    if (strHeader.isEmpty() || gt < 0)
        return {};
    QString path = strHeader.mid(gt + 1);
    const qsizetype ui = path.indexOf(QLatin1String("<UI"));
    if (ui < 0)
        return {};
    path.truncate(ui);
    const qsizetype comma = path.indexOf(QLatin1Char(','));
    if (comma >= 0)
        path = path.mid(comma + 1);
    return path;
}

QString FormatPosition(double sngValue, bool bLongitude)
{
    const double value = std::isfinite(sngValue) ? sngValue : 0.0;
    const double magnitude = std::fabs(value);
    double degrees = std::floor(magnitude / 60.0);
    double minutes = magnitude - degrees * 60.0;
    // 59.996 minutes would show as "60.00": that is the next degree.
    if (minutes >= 59.995) {
        degrees += 1;
        minutes = 0;
    }

    QString text = QString::number(degrees, 'f', 0).rightJustified(bLongitude ? 3 : 2, QLatin1Char('0'));
    text += QLatin1Char('.');
    text += QString::number(minutes, 'f', 2).rightJustified(5, QLatin1Char('0'));
    if (bLongitude)
        text += value >= 0 ? QLatin1Char('E') : QLatin1Char('W');
    else
        text += value >= 0 ? QLatin1Char('N') : QLatin1Char('S');
    text[text.size() - 4] = QLatin1Char('.');
    return text;
}

QString GetDxCallsign(const QString &strStatus)
{
    const qsizetype at = strStatus.indexOf(QLatin1String("DX:"));
    if (at < 0)
        return {};
    QString callsign = strStatus.mid(at + 4);
    const qsizetype blank = callsign.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        callsign.truncate(blank);
    return callsign;
}

bool LoadStationSymbol(const QString &strCallsign, QLabel *picture, HostApplication &host)
{
    if (picture)
        picture->clear();
    HostStationRecord record;
    record.callsign = strCallsign;
    if (!host.lookUpStation(record))
        return false;
    const QImage symbol = host.symbolPicture(record.symbolTable, record.symbolCode);
    if (symbol.isNull())
        return false;
    if (picture)
        picture->setPixmap(QPixmap::fromImage(symbol));
    return true;
}

void ShowStationInfo(QObject *activeWindow)
{
    QObject *window = activeWindow;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window);
        sub && WindowRegistry::tagOf(sub).isEmpty())
        window = sub->widget();
    if (!window || WindowRegistry::tagOf(window) != WindowTag::StationList)
        return;
    auto *list = dynamic_cast<StationListWindow *>(window);
    if (!list)
        return;
    const QString callsign = list->selectedCallsign();
    // No row selected: there is no station to show.
    if (callsign.isEmpty())
        return;
    ShowStationInfoFor(callsign);
}

void ShowStationInfoFor(const QString &callsign)
{
    shared().currentStation = callsign;
    if (const auto &handler = stationInfoHandler())
        handler();
}

void setStationInfoHandler(std::function<void()> handler)
{
    stationInfoHandler() = std::move(handler);
}
