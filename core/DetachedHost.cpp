#include "core/DetachedHost.h"

bool DetachedHost::openLink(const QString &, const QString &, QString *errorText)
{
    if (errorText)
        *errorText = QStringLiteral("The host program is not running");
    return false;
}
