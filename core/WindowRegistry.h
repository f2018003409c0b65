#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

// The program's loaded windows, in load order. Windows find each other here
// by their tag. A destroyed window drops out by itself.
class WindowRegistry
{
public:
    static WindowRegistry &instance();

    void add(QObject *window, const QString &tag = {});
    void remove(QObject *window);
    void clear();

    QList<QObject *> windows() const;
    QList<QObject *> tagged(const QString &tag) const;
    QObject *firstTagged(const QString &tag) const;

    static QString tagOf(const QObject *window);
    static void setTag(QObject *window, const QString &tag);

    // The first window of that kind, whatever its tag (the one-only windows).
    template<typename T>
    T *first() const
    {
        for (QObject *window : windows())
            if (auto *found = dynamic_cast<T *>(window))
                return found;
        return nullptr;
    }

private:
    QList<QPointer<QObject>> m_windows;
};
