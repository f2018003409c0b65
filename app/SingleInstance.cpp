#include "app/SingleInstance.h"

#include <QDir>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(const QString &lockFolder)
{
    QDir().mkpath(lockFolder);
    const QByteArray path = QFile::encodeName(lockFolder + QStringLiteral("/Kestrel.lock"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_problem = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::First;
        // For a person looking at the file; the lock itself is the kernel's,
        // so whether this text gets written does not matter.
        const QByteArray who = QByteArray::number(qint64(::getpid())) + '\n'
                             + QSysInfo::machineHostName().toUtf8() + '\n';
        if (::ftruncate(m_fd, 0) == 0) {
            [[maybe_unused]] const ssize_t written = ::write(m_fd, who.constData(), size_t(who.size()));
        }
        return;
    }
    if (errno == EWOULDBLOCK) {
        m_state = State::AlreadyRunning;
    } else {
        m_problem = QString::fromLocal8Bit(std::strerror(errno));
    }
    ::close(m_fd);
    m_fd = -1;
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SingleInstance::alreadyRunningMessage()
{
    return QStringLiteral("You are already running Kestrel please switch to the currently running version.");
}

QString SingleInstance::alreadyRunningTitle() { return QStringLiteral("Kestrel Error"); }

QString SingleInstance::unavailableMessage(const QString &folder, const QString &problem, bool settingsWritable)
{
    QString text = QStringLiteral("Kestrel could not take its lock in the settings folder %1 (%2), so it cannot "
                                  "tell whether another copy is running.")
                       .arg(QDir::toNativeSeparators(folder), problem);
    text += settingsWritable ? QStringLiteral(" It runs anyway.")
                             : QStringLiteral(" It runs anyway, but the settings folder cannot be written: "
                                              "changes to the settings will not be saved this time.");
    return text;
}
