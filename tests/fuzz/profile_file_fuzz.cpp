// Profile files (UIVIEW32.INI, STATIONS.INI, weather data) and the observer
// locations file: any bytes load without a crash, and what loads saves.
#include <cstddef>
#include <cstdint>

#include <QFile>
#include <QTemporaryDir>

#include "core/PrivateProfile.h"
#include "core/Utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(reinterpret_cast<const char *>(data), qsizetype(size));
    }
    PrivateProfile profile(path);
    profile.load();
    for (const QString &section : profile.sectionNames())
        for (const QString &key : profile.keyNames(section))
            (void)profile.value(section, key);
    profile.setValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    profile.removeSection(QStringLiteral("S"));
    profile.save();

    const QString line = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    for (qint16 n = 1; n < 8; ++n)
        (void)GetField(line, n);
    (void)SplitText(line, u',');
    return 0;
}
