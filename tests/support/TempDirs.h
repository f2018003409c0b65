#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the data and config folders of the program at fresh temporary
// folders for the lifetime of the object, so no test sees another's files.
class TempDirs
{
public:
    TempDirs();
    ~TempDirs();

    QString data() const { return m_data.path(); }
    QString config() const { return m_config.path(); }

private:
    QTemporaryDir m_data;
    QTemporaryDir m_config;
    QByteArray m_oldData;
    QByteArray m_oldConfig;
};
