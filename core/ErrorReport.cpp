#include "core/ErrorReport.h"

#include "core/AppInfo.h"
#include "core/Prompts.h"

QString errorText(const QString &procedure, const QString &description)
{
    return QStringLiteral("Error in ERROR_") + procedure + QStringLiteral(" : ") + description;
}

void reportError(const QString &procedure, const QString &description)
{
    Prompts::instance().message(errorText(procedure, description), AppInfo::Title,
                                Prompts::Buttons::Ok, Prompts::Icon::None);
}
