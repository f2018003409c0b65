#pragma once

#include <QString>

namespace AppInfo {

// The program's title: window captions, message box titles, settings name.
inline const QString Title = QStringLiteral("Kestrel");
inline const QString VersionText = QStringLiteral(KESTREL_VERSION);

} // namespace AppInfo
