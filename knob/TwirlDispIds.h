#pragma once

// Fixed numbers of the knob's properties, events and method, for hosts that
// address them by number rather than by name.

#include "twirl_global.h"

#include <QByteArray>

namespace twirl {

inline constexpr int kDispIdAboutBox = -552;

// 0 when the name or number is unknown (0 is no member's number).
TWIRL_EXPORT int propertyDispId(const QByteArray &name);
TWIRL_EXPORT QByteArray propertyName(int dispId);
TWIRL_EXPORT int eventDispId(const QByteArray &name);
TWIRL_EXPORT QByteArray eventName(int dispId);

} // namespace twirl
