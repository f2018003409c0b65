#pragma once

#include <QString>

// Holds a lock in the settings folder for as long as the program runs. The
// lock is the kernel's (flock), so it is held exactly while a copy of the
// program runs: a copy that crashed, or ran in a container or on a machine
// that has since changed its name, leaves nothing that refuses a start.
class SingleInstance
{
public:
    enum class State {
        First,          // this is the only copy
        AlreadyRunning, // a live copy of this user holds the lock
        Unavailable,    // no lock could be taken for another reason (see problem())
    };

    explicit SingleInstance(const QString &lockFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    State state() const { return m_state; }
    // True unless another copy runs: an unavailable lock does not stop a start.
    bool isFirst() const { return m_state != State::AlreadyRunning; }
    // For Unavailable: what went wrong, for the user.
    QString problem() const { return m_problem; }

    static QString alreadyRunningMessage();
    static QString alreadyRunningTitle();
    // The one message shown when the lock is unavailable; says whether the
    // settings can still be saved.
    static QString unavailableMessage(const QString &folder, const QString &problem, bool settingsWritable);

private:
    int m_fd = -1;
    State m_state = State::Unavailable;
    QString m_problem;
};
