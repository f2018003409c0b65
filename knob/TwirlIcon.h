#pragma once

#include "twirl_global.h"

#include <QIcon>

// The knob's icon, drawn rather than shipped: a grey knob with ticks and a white dot.
TWIRL_EXPORT QIcon twirlIcon();
