#include "HostFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

HostFolder::HostFolder()
{
    write(QStringLiteral("UIVIEW32.INI"),
          "[STATION]\r\nCALLSIGN=G0HOM\r\nLATITUDE=5130.00N\r\nLONGITUDE=00007.50W\r\n");
    write(QStringLiteral("KestrelHost.ini"), "[Host]\r\nBeaconInterval=0\r\nLogging=1\r\n");
}

void HostFolder::write(const QString &name, const QByteArray &content) const
{
    const QString path = m_dir.path() + u'/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}
