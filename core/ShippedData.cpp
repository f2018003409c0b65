#include "core/ShippedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ShippedDataFolder()
{
    QStringList candidates;
    if (const QString overridden = qEnvironmentVariable("KESTREL_SHARE_DIR"); !overridden.isEmpty())
        candidates << overridden;
    // Installed (prefix/bin/kestrel) and in the build tree (build/app/kestrel,
    // build/cli/kestrel-tool) alike, the folder is ../share/kestrel.
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrel");
#ifdef KESTREL_BUILD_SHARE_DIR
    // Programs deeper in the build tree (the tests).
    candidates << QStringLiteral(KESTREL_BUILD_SHARE_DIR);
#endif
    for (const QString &folder : candidates)
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return {};
}
