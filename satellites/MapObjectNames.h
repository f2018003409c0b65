#pragma once

#include <QStringList>

// The names the satellites' objects carry on the host's map, one for each
// element-set name in table order: at most nine characters (the most an APRS
// object name may have), no two alike, and decided by the list of names
// alone, so a satellite keeps its name whatever else is chosen.
QStringList mapObjectNames(const QStringList &setNames);
