#pragma once

#include <QString>
#include <QStringView>

// Weather stations that send their sensors' raw counters instead of an APRS
// report: the Ultimeter's packet mode ("$ULTW") and data logging mode ("!!"),
// four hexadecimal digits a reading, "----" for a sensor it lacks. Both the
// host and the weather store read them, so they are turned into the "_" form
// the weather file holds ("_c220s004g005t077P000h50b10150", "..." where a
// reading is absent). False, and weather untouched, when the payload is not one.
bool rawWeatherReport(QStringView payload, QString *weather);
