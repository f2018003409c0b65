#pragma once

#include <QtCore/qglobal.h>

#if defined(TWIRL_LIBRARY)
#  define TWIRL_EXPORT Q_DECL_EXPORT
#else
#  define TWIRL_EXPORT Q_DECL_IMPORT
#endif
