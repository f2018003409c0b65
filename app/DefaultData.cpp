#include "app/DefaultData.h"

#include "core/ShippedData.h"
#include "core/Utilities.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

void InstallDefaultDataFiles()
{
    const QString shipped = ShippedDataFolder();
    if (shipped.isEmpty())
        return;
    const QString root = shipped + QStringLiteral("/defaults");
    const QString data = GetDataFolder();
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = data + source.mid(root.size());
        if (QFile::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}
