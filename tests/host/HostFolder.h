#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away host folder with UIVIEW32.INI for a home station at
// 51 30.00 N 000 07.50 W (G0HOM) and whatever other files a test adds.
class HostFolder
{
public:
    HostFolder();
    QString path() const { return m_dir.path(); }
    void write(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
};
