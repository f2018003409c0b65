// APRS information fields; the first byte chooses how much goes to the
// destination (where Mic-E keeps its latitude). The payload is read both as
// Latin-1 and as UTF-8, as feeds read lines. Whatever position comes out is a
// place on the Earth, heights and ranges are numbers, names fit their nine
// bytes, and telemetry and weather have the shapes the store keeps.
#include "FuzzSupport.h"

#include "host/aprs/AprsDecoder.h"

#include <QStringList>

#include <climits>
#include <cmath>

namespace {

void check(const AprsReport &r)
{
    if (r.hasPosition) {
        const QString where = QStringLiteral("%1 %2").arg(r.latitude).arg(r.longitude);
        fuzz::require(std::isfinite(r.latitude) && std::fabs(r.latitude) <= 90, "latitude on the Earth", where);
        fuzz::require(std::isfinite(r.longitude) && std::fabs(r.longitude) <= 180, "longitude on the Earth", where);
    }
    fuzz::require(r.ambiguity >= 0 && r.ambiguity <= 4, "ambiguity 0 to 4");
    fuzz::require(std::isfinite(r.speed) && std::isfinite(r.windSpeed), "speeds finite");
    // Six digits of feet, or the compressed form's 1.002^8280.
    fuzz::require(r.altitude == INT_MIN || std::abs(r.altitude) <= 16'000'000, "a height APRS can send",
                  QString::number(r.altitude));
    fuzz::require(r.range == -1 || (std::isfinite(r.range) && r.range > 0), "a range finite", QString::number(r.range));
    if (r.kind == AprsReport::Kind::Object)
        fuzz::require(aprs::utf8Size(r.objectName) <= 9 || r.objectName.size() <= 9, "an object name of nine bytes",
                      r.objectName);
    if (r.kind == AprsReport::Kind::Item)
        fuzz::require(r.objectName.size() <= 9, "an item name of at most nine", r.objectName);
    if (r.hasTelemetry) {
        fuzz::require(r.telemetry.analogCount >= 0 && r.telemetry.analogCount <= telemetry::AnalogChannels,
                      "at most five channels");
        fuzz::require(r.telemetry.bits.size() == 0 || r.telemetry.bits.size() == telemetry::Bits, "eight bits or none",
                      r.telemetry.bits);
        for (double value : r.telemetry.analog)
            fuzz::require(std::isfinite(value), "telemetry values finite");
    }
    if (!r.weather.isEmpty())
        fuzz::require(r.weather.startsWith(u'_'), "weather in the underscore form", r.weather);
    static const QStringList messages = {"Off Duty", "En Route", "In Service", "Returning", "Committed", "Special",
                                         "Priority", "Emergency", "Unknown", "Custom-0", "Custom-1", "Custom-2",
                                         "Custom-3", "Custom-4", "Custom-5", "Custom-6"};
    if (!r.micEMessage.isEmpty())
        fuzz::require(messages.contains(r.micEMessage), "a Mic-E message type", r.micEMessage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t split = std::min<size_t>(data[0] % 8, size - 1);
    const QString destination = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(split));
    const QString payload =
        QString::fromLatin1(reinterpret_cast<const char *>(data + 1 + split), qsizetype(size - 1 - split));
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1 + split), qsizetype(size - 1 - split));
    for (const QString &text : {payload, QString::fromUtf8(bytes)})
        check(decodeAprs(destination, text));
    return 0;
}
