#include "app/SingleInstance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString &lockFolder)
{
    QDir().mkpath(lockFolder);
    m_lock = std::make_unique<QLockFile>(lockFolder + QStringLiteral("/Kestrel.lock"));
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
}

QString SingleInstance::alreadyRunningMessage()
{
    return QStringLiteral("You are already running Kestrel please switch to the currently running version.");
}

QString SingleInstance::alreadyRunningTitle() { return QStringLiteral("Kestrel Error"); }
