#include "core/AppInfo.h"
#include "core/Configuration.h"
#include "core/IniSettingsStore.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString stored(const MemorySettingsStore &store, const char *section, const char *key)
{
    return store.value(AppInfo::Title, section, key, "<missing>");
}

} // namespace

TEST(Configuration, MissingKeysGiveTheDefaults)
{
    MemorySettingsStore store;
    Configuration c;
    c.miles = false;
    c.observer = "x";
    QStringList errors;
    c.readPlacement(store, &errors);
    c.read(store, &errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(c.miles);
    EXPECT_EQ(c.observer, "London");
    EXPECT_EQ(c.timezone, "Not Set");
    EXPECT_EQ(c.pressMax, 1050);
    EXPECT_EQ(c.lowColour, 65280);
    EXPECT_EQ(c.mainWidth, 6500.0f);
}

TEST(Configuration, InFahrenheitTheDefaultTemperatureScaleIsTheCelsiusOneConverted)
{
    struct Case
    {
        const char *centigrade, *tempMin, *tempMax;
        qint16 min, max;
    } const cases[] = {
        {"False", nullptr, nullptr, 32, 86},
        {"False", "10", nullptr, 10, 86},  // a stored limit is the user's, in the user's unit
        {"True", nullptr, nullptr, 0, 30},
    };
    for (const Case &c : cases) {
        MemorySettingsStore store;
        store.write("Kestrel", "Wx", "Centigrade", c.centigrade);
        if (c.tempMin)
            store.write("Kestrel", "Wx", "TempMin", c.tempMin);
        Configuration config;
        config.read(store, nullptr);
        EXPECT_EQ(config.tempMin, c.min) << c.centigrade;
        EXPECT_EQ(config.tempMax, c.max) << c.centigrade;
    }
}

TEST(Configuration, BadTextsLeaveTheInitialValueNotTheDefault)
{
    MemorySettingsStore store;
    store.write("Kestrel", "Distance", "Miles", "perhaps");
    store.write("Kestrel", "Wx", "PressMax", "99999");
    store.write("Kestrel", "Satellite", "Latitude", "north");
    store.write("Kestrel", "Satellite", "Longitude", "nan");
    store.write("Kestrel", "Wx", "TempMax", "12.5");  // rounds half to even
    store.write("Kestrel", "DXSpots", "Expire", "0");
    Configuration c;
    QStringList errors;
    c.read(store, &errors);
    EXPECT_EQ(errors, QStringList({"Type mismatch", "Type mismatch", "Type mismatch", "Overflow"}));
    EXPECT_FALSE(c.miles);
    EXPECT_EQ(c.pressMax, 0);
    EXPECT_EQ(c.latitude, 0.0f);
    EXPECT_EQ(c.longitude, 0.0f);
    EXPECT_EQ(c.tempMax, 12);
    EXPECT_EQ(c.dxExpire, 0);
    // Keys after a bad one are still read.
    EXPECT_EQ(c.rainMax, 100);
}

TEST(Configuration, WritesEveryKeyWithItsTextForm)
{
    MemorySettingsStore store;
    Configuration c;
    c.autoSave = true;
    c.latitude = 51.5f;
    c.hostFolder = "/opt/host";
    c.write(store, false);
    EXPECT_EQ(store.values.size(), Configuration::keys().size());
    EXPECT_EQ(stored(store, "Shutdown", "Auto Save"), "True");
    EXPECT_EQ(stored(store, "Display", "APRS Icons"), "False");
    EXPECT_EQ(stored(store, "Satellite", "Latitude"), "51.5");
    EXPECT_EQ(stored(store, "Settings", "MainLeft"), "1000");
    EXPECT_EQ(stored(store, "Paths", "UIVIEW32"), "/opt/host");
    EXPECT_EQ(stored(store, "Statistics", "HighColour"), "255");
}

TEST(Configuration, MinimisedLeavesThePlacementAlone)
{
    MemorySettingsStore store;
    store.write("Kestrel", "Settings", "MainLeft", "42");
    Configuration c;
    c.mainLeft = 7;
    c.write(store, true);
    EXPECT_EQ(stored(store, "Settings", "MainLeft"), "42");
    EXPECT_EQ(stored(store, "Settings", "MainTop"), "<missing>");
    EXPECT_EQ(stored(store, "Wx", "TempMax"), "30");
}

TEST(Configuration, RoundTripThroughTheIniFile)
{
    TempDirs dirs;
    IniSettingsStore store;
    Configuration written;
    written.secondLocation = "Hilltop, north";
    written.dxExpire = 120;
    written.mainHeight = 7215.5f;
    written.write(store, false);

    Configuration read;
    QStringList errors;
    read.readPlacement(store, &errors);
    read.read(store, &errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(read.secondLocation, "Hilltop, north");
    EXPECT_EQ(read.dxExpire, 120);
    EXPECT_EQ(read.mainHeight, 7215.5f);
    EXPECT_TRUE(QFile::exists(dirs.config() + "/Kestrel.ini"));
}
