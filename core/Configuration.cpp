#include "core/Configuration.h"

#include "core/AppInfo.h"
#include "core/SettingsStore.h"

#include <cmath>
#include <limits>
#include <variant>

namespace {

using Member = std::variant<float Configuration::*, qint16 Configuration::*, qint32 Configuration::*,
                            bool Configuration::*, QString Configuration::*>;

struct Key
{
    const char *section;
    const char *key;
    Member member;
};

// Table order is read order and write order.
const Key kKeys[] = {
    {"Settings", "MainLeft", &Configuration::mainLeft},
    {"Settings", "MainTop", &Configuration::mainTop},
    {"Settings", "MainWidth", &Configuration::mainWidth},
    {"Settings", "MainHeight", &Configuration::mainHeight},
    {"Paths", "UIVIEW32", &Configuration::hostFolder},
    {"Paths", "Capture", &Configuration::captureFolder},
    {"Capture", "Auto", &Configuration::captureAuto},
    {"Startup", "Preload", &Configuration::preload},
    {"Shutdown", "Auto Save", &Configuration::autoSave},
    {"Satellite", "Interval", &Configuration::satelliteInterval},
    {"DXSpots", "Plot", &Configuration::dxPlot},
    {"DXSpots", "Highlight", &Configuration::dxHighlight},
    {"DXSpots", "Expire", &Configuration::dxExpire},
    {"DXSpots", "Notify", &Configuration::dxNotify},
    {"DXSpots", "AllCalls", &Configuration::dxAllCalls},
    {"Distance", "Miles", &Configuration::miles},
    {"Satellite", "Observer", &Configuration::observer},
    {"Satellite", "Latitude", &Configuration::latitude},
    {"Satellite", "Longitude", &Configuration::longitude},
    {"Satellite", "Height", &Configuration::height},
    {"Satellite", "Locator", &Configuration::locator},
    {"Satellite", "SecondLatitude", &Configuration::secondLatitude},
    {"Satellite", "SecondLongitude", &Configuration::secondLongitude},
    {"Satellite", "SecondLocation", &Configuration::secondLocation},
    {"Satellite", "SecondHeight", &Configuration::secondHeight},
    {"Satellite", "SecondUsed", &Configuration::secondUsed},
    {"TimeZone", "DaylightSaving", &Configuration::daylightSaving},
    {"TimeZone", "Timezone", &Configuration::timezone},
    {"TimeZone", "WinAdjust", &Configuration::winAdjust},
    {"TimeZone", "Adjust", &Configuration::timezoneAdjust},
    {"Satellite", "Icons", &Configuration::satelliteIcons},
    {"Wx", "Centigrade", &Configuration::centigrade},
    {"Wx", "toolbar", &Configuration::wxToolbar},
    {"Wx", "TempMin", &Configuration::tempMin},
    {"Wx", "TempMax", &Configuration::tempMax},
    {"Wx", "HumidityMin", &Configuration::humidityMin},
    {"Wx", "HumidityMax", &Configuration::humidityMax},
    {"Wx", "WindMin", &Configuration::windMin},
    {"Wx", "WindMax", &Configuration::windMax},
    {"Wx", "PressMin", &Configuration::pressMin},
    {"Wx", "PressMax", &Configuration::pressMax},
    {"Wx", "RainMin", &Configuration::rainMin},
    {"Wx", "RainMax", &Configuration::rainMax},
    {"Wx", "TempAuto", &Configuration::tempAuto},
    {"Wx", "HumidityAuto", &Configuration::humidityAuto},
    {"Wx", "WindAuto", &Configuration::windAuto},
    {"Wx", "PressureAuto", &Configuration::pressureAuto},
    {"Wx", "RainAuto", &Configuration::rainAuto},
    {"Statistics", "Sample", &Configuration::statisticsSample},
    {"Plotting", "phg", &Configuration::plotPhg},
    {"Statistics", "LowCount", &Configuration::lowCount},
    {"Statistics", "MedCount", &Configuration::medCount},
    {"Statistics", "HighCount", &Configuration::highCount},
    {"Statistics", "LowColour", &Configuration::lowColour},
    {"Statistics", "MedColour", &Configuration::medColour},
    {"Statistics", "HighColour", &Configuration::highColour},
    {"Display", "APRS Icons", &Configuration::aprsIcons},
};
constexpr int kPlacementKeys = 4;

const QString kTypeMismatch = QStringLiteral("Type mismatch");
const QString kOverflow = QStringLiteral("Overflow");

// Whole numbers round half to even, as the stored texts were written by a
// program that converts that way.
bool toWhole(const QString &text, qint64 low, qint64 high, qint64 *out, QString *error)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        *error = kTypeMismatch;
        return false;
    }
    const double rounded = std::nearbyint(value);
    if (rounded < double(low) || rounded > double(high)) {
        *error = kOverflow;
        return false;
    }
    *out = qint64(rounded);
    return true;
}

bool convert(const QString &text, float *out, QString *error)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // "nan" and "inf" read as numbers, but no setting holds one: a hand-edited
    // "nan" latitude would put every distance and pass time out of reach.
    if (!ok || !std::isfinite(value)) {
        *error = kTypeMismatch;
        return false;
    }
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        *error = kOverflow;
        return false;
    }
    *out = float(value);
    return true;
}

bool convert(const QString &text, qint16 *out, QString *error)
{
    qint64 v;
    if (!toWhole(text, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), &v, error))
        return false;
    *out = qint16(v);
    return true;
}

bool convert(const QString &text, qint32 *out, QString *error)
{
    qint64 v;
    if (!toWhole(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), &v, error))
        return false;
    *out = qint32(v);
    return true;
}

bool convert(const QString &text, bool *out, QString *error)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        *out = true;
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        *out = false;
        return true;
    }
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok) {
        *error = kTypeMismatch;
        return false;
    }
    *out = value != 0;
    return true;
}

bool convert(const QString &text, QString *out, QString *)
{
    *out = text;
    return true;
}

QString toText(float v) { return QString::number(double(v), 'g', 7); }
QString toText(qint16 v) { return QString::number(v); }
QString toText(qint32 v) { return QString::number(v); }
QString toText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
QString toText(const QString &v) { return v; }

void readKey(Configuration &c, const SettingsStore &store, const Key &key, QStringList *errors)
{
    std::visit(
        [&](auto member) {
            auto &variable = c.*member;
            using T = std::decay_t<decltype(variable)>;
            QString text;
            if (!store.read(AppInfo::Title, QLatin1String(key.section), QLatin1String(key.key), &text)) {
                variable = Configuration{}.*member;  // the table's default
                return;
            }
            QString error;
            T value{};
            if (convert(text, &value, &error)) {
                variable = value;
            } else {
                variable = T{};
                if (errors)
                    errors->append(error);
            }
        },
        key.member);
}

void writeKey(const Configuration &c, SettingsStore &store, const Key &key)
{
    std::visit(
        [&](auto member) {
            store.write(AppInfo::Title, QLatin1String(key.section), QLatin1String(key.key),
                        toText(c.*member));
        },
        key.member);
}

} // namespace

QList<QPair<QString, QString>> Configuration::keys()
{
    QList<QPair<QString, QString>> list;
    for (const Key &key : kKeys)
        list.append({QLatin1String(key.section), QLatin1String(key.key)});
    return list;
}

void Configuration::readPlacement(const SettingsStore &store, QStringList *errors)
{
    for (int i = 0; i < kPlacementKeys; ++i)
        readKey(*this, store, kKeys[i], errors);
}

void Configuration::read(const SettingsStore &store, QStringList *errors)
{
    for (size_t i = kPlacementKeys; i < std::size(kKeys); ++i)
        readKey(*this, store, kKeys[i], errors);
    // The default temperature scale is 0 to 30 in Celsius; in Fahrenheit
    // the same scale is 32 to 86, not 0 to 30 degrees Fahrenheit.
    QString stored;
    if (!centigrade && !store.read(AppInfo::Title, QStringLiteral("Wx"), QStringLiteral("TempMin"), &stored))
        tempMin = 32;
    if (!centigrade && !store.read(AppInfo::Title, QStringLiteral("Wx"), QStringLiteral("TempMax"), &stored))
        tempMax = 86;
}

void Configuration::write(SettingsStore &store, bool minimised) const
{
    for (size_t i = 0; i < std::size(kKeys); ++i)
        if (i >= size_t(kPlacementKeys) || !minimised)
            writeKey(*this, store, kKeys[i]);
}

Configuration &config()
{
    static Configuration configuration;
    return configuration;
}
