#pragma once

// Wraps a change of the knob so that valueChanged and positionChanged go out
// once, after Value and Position both hold their new state, however many
// steps the change took. Scopes nest; the outermost one notifies.

#include "CTwirlCtrl.h"

class CTwirlCtrl::NotifyScope
{
public:
    explicit NotifyScope(CTwirlCtrl &k)
        : m_k(k)
    {
        if (m_k.m_notifyDepth++ == 0) {
            m_k.m_notifyValue = m_k.m_value;
            m_k.m_notifyPosition = m_k.m_position;
        }
    }
    ~NotifyScope()
    {
        if (--m_k.m_notifyDepth != 0)
            return;
        const bool value = m_k.m_value != m_k.m_notifyValue;
        const bool position = m_k.m_position != m_k.m_notifyPosition;
        if (value)
            emit m_k.valueChanged(m_k.m_value);
        if (position)
            emit m_k.positionChanged(m_k.m_position);
    }
    NotifyScope(const NotifyScope &) = delete;
    NotifyScope &operator=(const NotifyScope &) = delete;

private:
    CTwirlCtrl &m_k;
};
