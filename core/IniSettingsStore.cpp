#include "core/IniSettingsStore.h"

#include <QDir>
#include <QStandardPaths>

#include <utility>

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
    const auto found = m_pending.constFind(application);
    PrivateProfile fromDisk(fileFor(application));
    const PrivateProfile *profile = &fromDisk;
    if (found != m_pending.constEnd())
        profile = found->get();
    else
        fromDisk.load();
    if (!profile->contains(section, key))
        return false;
    *value = profile->value(section, key);
    return true;
}

PrivateProfile &IniSettingsStore::pending(const QString &application)
{
    auto found = m_pending.find(application);
    if (found == m_pending.end()) {
        auto profile = std::make_shared<PrivateProfile>(fileFor(application));
        profile->load();
        found = m_pending.insert(application, profile);
    }
    return **found;
}

void IniSettingsStore::write(const QString &application, const QString &section,
                             const QString &key, const QString &value)
{
    pending(application).setValue(section, key, value);
    if (!m_batch)
        commit();
}

void IniSettingsStore::removeSection(const QString &application, const QString &section)
{
    PrivateProfile &profile = pending(application);
    if (profile.sectionNames().contains(section, Qt::CaseInsensitive))
        profile.removeSection(section);
    if (!m_batch)
        commit();
}

void IniSettingsStore::beginBatch()
{
    m_batch = true;
}

bool IniSettingsStore::commit(QString *errorText)
{
    m_batch = false;
    const auto profiles = std::exchange(m_pending, {});
    if (m_readOnly)
        return true;
    QDir().mkpath(configFolder());
    QStringList errors;
    for (const auto &profile : profiles) {
        QString error;
        if (!profile->save(&error))
            errors << QDir::toNativeSeparators(profile->path()) + QStringLiteral(": ") + error;
    }
    if (errorText)
        *errorText = errors.join(QStringLiteral("; "));
    return errors.isEmpty();
}
