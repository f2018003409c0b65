#include "core/IniSettingsStore.h"

#include "core/PrivateProfile.h"

#include <QDir>
#include <QStandardPaths>

QString IniSettingsStore::configFolder()
{
    const QString overridden = qEnvironmentVariable("KESTREL_CONFIG_DIR");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString IniSettingsStore::fileFor(const QString &application)
{
    return configFolder() + u'/' + application + QStringLiteral(".ini");
}

bool IniSettingsStore::read(const QString &application, const QString &section, const QString &key,
                            QString *value) const
{
    PrivateProfile profile(fileFor(application));
    profile.load();
    if (!profile.contains(section, key))
        return false;
    *value = profile.value(section, key);
    return true;
}

void IniSettingsStore::write(const QString &application, const QString &section,
                             const QString &key, const QString &value)
{
    QDir().mkpath(configFolder());
    PrivateProfile::writeString(fileFor(application), section, key, value);
}

void IniSettingsStore::removeSection(const QString &application, const QString &section)
{
    PrivateProfile profile(fileFor(application));
    if (!profile.load() || !profile.sectionNames().contains(section, Qt::CaseInsensitive))
        return;
    profile.removeSection(section);
    profile.save();
}
