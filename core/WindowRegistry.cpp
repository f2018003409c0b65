#include "core/WindowRegistry.h"

#include <QVariant>

namespace {
const char kTagProperty[] = "kestrelTag";
}

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::add(QObject *window, const QString &tag)
{
    if (!tag.isNull())
        setTag(window, tag);
    if (!m_windows.contains(window))
        m_windows.append(window);
}

void WindowRegistry::remove(QObject *window)
{
    m_windows.removeAll(window);
}

void WindowRegistry::clear()
{
    m_windows.clear();
}

QList<QObject *> WindowRegistry::windows() const
{
    QList<QObject *> list;
    list.reserve(m_windows.size());
    for (const QPointer<QObject> &window : m_windows)
        if (window)
            list.append(window.data());
    return list;
}

QList<QObject *> WindowRegistry::tagged(const QString &tag) const
{
    QList<QObject *> list;
    for (const QPointer<QObject> &window : m_windows)
        if (window && tagOf(window) == tag)
            list.append(window.data());
    return list;
}

QObject *WindowRegistry::firstTagged(const QString &tag) const
{
    for (const QPointer<QObject> &window : m_windows)
        if (window && tagOf(window) == tag)
            return window.data();
    return nullptr;
}

QString WindowRegistry::tagOf(const QObject *window)
{
    return window ? window->property(kTagProperty).toString() : QString();
}

void WindowRegistry::setTag(QObject *window, const QString &tag)
{
    window->setProperty(kTagProperty, tag);
}
