#pragma once

// The demo installer writes element sets into the data folder; a program
// started without any warns that its element file holds none. Test programs
// that stand for the demo write one set the same way.
#include "../orbiter/TestOrbits.h"
#include "core/Utilities.h"

#include <QDir>
#include <QFile>

inline void writeDemoKeps()
{
    const QString folder = GetDataFolder() + QStringLiteral("/Keps");
    QDir().mkpath(folder);
    QFile keps(folder + QStringLiteral("/Keps.txt"));
    if (!keps.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const auto [l1, l2] = testorbits::lines(testorbits::kStation);
    keps.write("ISS\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n");
}
