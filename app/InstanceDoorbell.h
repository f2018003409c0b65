#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

// How a second start reaches the running copy: the running copy listens on a
// local socket in the settings folder, and a second start, after telling the
// user, rings it so that the running copy brings its window to the front.
class InstanceDoorbell : public QObject
{
    Q_OBJECT
public:
    // Callers held at once, and how long one may say nothing.
    static constexpr int MaxCallers = 8;
    static constexpr int IdleMs = 2000;

    explicit InstanceDoorbell(const QString &folder, QObject *parent = nullptr);
    // Callers connected now.
    int callers() const { return m_callers; }

    // For the running copy, which holds the single-instance lock (so a socket
    // file left by a copy that crashed can be taken over).
    bool listen();
    // For a second start; false when no running copy answers.
    static bool ring(const QString &folder, int timeoutMs = 2000);

    // The socket's path in the folder, or a name in the temporary folder
    // when that path would be too long for a local socket.
    static QString socketName(const QString &folder);
    // Shows the window (restored if minimised), raised and active.
    static void bringToFront(QWidget *window);

signals:
    void rung();

private:
    QString m_name;
    QLocalServer m_server;
    int m_callers = 0;
};
