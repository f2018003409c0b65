#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Holds a lock in the settings folder for as long as the program runs; a
// second start finds it taken.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &lockFolder);
    bool isFirst() const { return m_first; }
    static QString alreadyRunningMessage();
    static QString alreadyRunningTitle();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
};
