#pragma once

#include <QString>

// The folder of files the program ships (defaults copied into a new data
// folder, the demo host folder): <prefix>/share/kestrel beside an installed
// program's bin folder, share/kestrel in the build tree. KESTREL_SHARE_DIR
// overrides both. Empty when none is found.
QString ShippedDataFolder();
