#include "dx/ObserverLocations.h"

#include "core/LineText.h"
#include "core/Prompts.h"
#include "core/Utilities.h"

#include <QFile>

#include <cmath>

namespace {
const QString kReadError = QStringLiteral("Unable to read the DX locations database");
const QString kReadErrorTitle = QStringLiteral("Open file error");
} // namespace

QString ObserverLocations::defaultPath()
{
    return GetDataFolder() + QStringLiteral("/Observer/ObserverLocations.txt");
}

bool ObserverLocations::load(const QString &path)
{
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Prompts::instance().message(kReadError, kReadErrorTitle, Prompts::Buttons::Ok,
                                    Prompts::Icon::Critical);
        return false;
    }
    LineReader lines(file);
    while (!lines.atEnd() && m_entries.size() < Capacity) {
        const QString line = lines.next();
        ObserverLocation entry;
        entry.code = GetField(line, 2);
        entry.name = GetField(line, 3);
        entry.latitude = GetField(line, 4).trimmed().toDouble();
        entry.longitude = GetField(line, 5).trimmed().toDouble();
        // A place off the Earth ("1e999", "nan", 200) is no place to observe from.
        if (!(std::fabs(entry.latitude) <= 90 && std::fabs(entry.longitude) <= 180))
            continue;
        m_entries.append(entry);
    }
    return true;
}

ObserverLocations &observerLocations()
{
    static ObserverLocations table;
    return table;
}
