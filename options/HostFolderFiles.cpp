#include "options/HostFolderFiles.h"

#include "core/ErrorReport.h"
#include "core/PrivateProfile.h"

#include <QDir>
#include <QFile>

namespace {

// The program file as the folder spells it, or empty.
QString programFileIn(const QString &folder)
{
    const QString exact = folder.endsWith(u'/') ? folder + HostProgramFile : folder + u'/' + HostProgramFile;
    if (QFile::exists(exact))
        return exact;
    if (folder.isEmpty())
        return {};
    const QStringList names = QDir(folder).entryList({HostProgramFile}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (name.compare(HostProgramFile, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(name);
    return {};
}

} // namespace

bool CheckUIPath(const QString &folder)
{
    const QString path = programFileIn(folder);
    if (path.isEmpty())
        return false;
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
