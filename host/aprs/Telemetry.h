#pragma once

#include "core/HostTelemetry.h"

#include <QString>
#include <QStringView>
#include <array>

// Telemetry as stations send it: "T#sss,a1,a2,a3,a4,a5,bbbbbbbb" reports with
// up to five analogue values and eight bits, and the messages a station sends
// to itself that name the channels (PARM.), give their units or bit labels
// (UNIT.), scale the analogue values (EQNS., value = a x^2 + b x + c) and say
// which state of each bit counts as on, with a project title (BITS.).
namespace telemetry {

constexpr int AnalogChannels = 5;
constexpr int Bits = 8;

struct Report
{
    QString sequence;
    std::array<double, AnalogChannels> analog{};
    int analogCount = 0;
    QString bits;  // up to eight "0"/"1", as sent
};

// False when the payload is not a telemetry report.
bool parseReport(QStringView payload, Report *report);

struct Definitions
{
    std::array<QString, AnalogChannels + Bits> names;
    std::array<QString, AnalogChannels + Bits> units;
    std::array<std::array<double, 3>, AnalogChannels> equations{
        {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
    QString bitSense = QStringLiteral("11111111");
    QString project;

    // Takes one message text; false when it defines nothing.
    bool apply(QStringView messageText);
};

// What one station has told about its telemetry.
struct Station
{
    Definitions definitions;
    Report latest;
    bool hasReport = false;
    QString timeHeard;
};

// The channels with names, scaled values and units, as the host reports them.
HostTelemetry describe(const Station &station);

// A value with at most three decimals and no trailing zeros.
QString formatValue(double value);

} // namespace telemetry
