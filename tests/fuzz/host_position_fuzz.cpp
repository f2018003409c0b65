// The home position in the host's UIVIEW32.INI, read by the loading
// sequence and by the embedded host: both give a place on the Earth, and
// where the host takes a position the two agree.
#include "FuzzSupport.h"

#include "app/LoadingSequence.h"
#include "core/PrivateProfile.h"
#include "host/StationDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UIVIEW32.INI"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const HomeStation home = ReadHostStation(dir.path());
    fuzz::require(std::isfinite(home.latitude) && std::fabs(home.latitude) <= 90 * 60, "a home latitude",
                  QString::number(home.latitude));
    fuzz::require(std::isfinite(home.longitude) && std::fabs(home.longitude) <= 180 * 60, "a home longitude",
                  QString::number(home.longitude));

    PrivateProfile ini(path);
    ini.load();
    const double read[] = {home.latitude, home.longitude};
    for (bool longitude : {false, true}) {
        const QString text = ini.value(QStringLiteral("STATION"), longitude ? QStringLiteral("LONGITUDE")
                                                                             : QStringLiteral("LATITUDE"));
        double minutes = 0;
        if (!parseIniPosition(text, longitude, &minutes))
            continue;
        fuzz::require(std::fabs(minutes) <= (longitude ? 180 : 90) * 60, "the host's position on the Earth", text);
        fuzz::require(std::fabs(minutes - read[longitude]) < 1e-6, "both readers agree",
                      text + QStringLiteral(": %1 / %2").arg(minutes).arg(read[longitude]));
    }
    return 0;
}
