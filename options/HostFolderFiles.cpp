#include "options/HostFolderFiles.h"

#include "core/ErrorReport.h"
#include "core/PrivateProfile.h"

#include <QDir>
#include <QFile>

namespace {

// The file as the folder spells it, or empty.
QString fileIn(const QString &folder, const QString &file)
{
    const QString exact = folder.endsWith(u'/') ? folder + file : folder + u'/' + file;
    if (QFile::exists(exact))
        return exact;
    if (folder.isEmpty())
        return {};
    const QStringList names = QDir(folder).entryList({file}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (name.compare(file, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(name);
    return {};
}

} // namespace

bool CheckUIPath(const QString &folder)
{
    const QString path = fileIn(folder, HostProgramFile);
    if (path.isEmpty())
        return !fileIn(folder, EmbeddedHostFile).isEmpty() && !fileIn(folder, HostStationFile).isEmpty();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportError(QStringLiteral("CheckUIPath"), file.errorString());
        return true;
    }
    file.close();
    return true;
}

QString stationName(const QString &hostFolder, const QString &callsign)
{
    if (hostFolder.isEmpty() || callsign.isEmpty())
        return QStringLiteral("Unknown");
    const QString name = PrivateProfile::readString(hostFolder + QStringLiteral("/STATIONS.INI"), callsign,
                                                    QStringLiteral("NAME"))
                             .left(500);
    return name.isEmpty() ? QStringLiteral("Unknown") : name;
}
