#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Starts the desktop's system information program: the first of a short
// list of common graphical ones that is installed.
class SystemInfo
{
public:
    struct Program
    {
        QString name;
        QStringList arguments;
    };

    static QList<Program> candidates();

    // Seams for tests: where a program is found (empty when it is not) and
    // how it is started (false when it could not be).
    std::function<QString(const QString &name)> find;
    std::function<bool(const QString &path, const QStringList &arguments)> start;

    SystemInfo();

    // The program that would be started, or an empty name.
    Program locate() const;
    // Starts it; says "System Information Is Unavailable At This Time"
    // through Prompts when there is none or it fails to start.
    bool StartSysInfo();
};
