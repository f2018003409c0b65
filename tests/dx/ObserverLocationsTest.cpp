#include "core/Utilities.h"
#include "dx/ObserverLocations.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ObserverLocations, KeepsFieldsTwoToFiveInFileOrder)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    const QString path = dirs.data() + "/ObserverLocations.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,LON,\"London, City\",51.5074,0.1278\r\n"
               "2,EDI,Edinburgh,55.9533,3.1883\n"
               "garbage without fields\n"
               "4,OFF,Off the Earth,1e999,0\n"
               "5,NAN,Not a place,0,nan\n"
               "6,FAR,Too far west,0,180.5\n"
               "7,CRA,Alpha,1,2\r8,CRB,Beta,3,4\r\n"  // a CR alone ends a line too
               "3,,,north,\n");
    file.close();
    ObserverLocations table;
    ASSERT_TRUE(table.load(path));
    ASSERT_EQ(table.entries().size(), 6);
    EXPECT_EQ(table.entries()[0].code, "LON");
    EXPECT_EQ(table.entries()[0].name, "London, City");
    EXPECT_DOUBLE_EQ(table.entries()[0].latitude, 51.5074);
    EXPECT_DOUBLE_EQ(table.entries()[1].longitude, 3.1883);  // west positive, as stored
    EXPECT_EQ(table.entries()[3].name, "Alpha");
    EXPECT_EQ(table.entries()[4].code, "CRB");
    EXPECT_EQ(table.entries()[5].latitude, 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(ObserverLocations, MissingFileSaysSoAndStopsAtCapacity)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    ObserverLocations table;
    EXPECT_FALSE(table.load(dirs.data() + "/none.txt"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Unable to read the DX locations database");
    EXPECT_EQ(prompts.shown[0].title, "Open file error");
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);

    const QString path = dirs.data() + "/many.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 2100; ++i)
        file.write(QStringLiteral("%1,C%1,Place %1,1,2\n").arg(i).toLatin1());
    file.close();
    ASSERT_TRUE(table.load(path));
    EXPECT_EQ(table.entries().size(), ObserverLocations::Capacity);
    EXPECT_EQ(table.entries().last().code, "C2000");
}

// The same checks the fuzz target makes, on bytes g++ builds can run in CI.
