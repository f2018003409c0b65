#pragma once

#include "core/SettingsStore.h"

// One profile file per application name in the user's config folder
// ($XDG_CONFIG_HOME, or KESTREL_CONFIG_DIR when set): "Kestrel.ini",
// "Peak Systems.ini".
class IniSettingsStore : public SettingsStore
{
public:
    static QString configFolder();
    static QString fileFor(const QString &application);

    bool read(const QString &application, const QString &section, const QString &key,
              QString *value) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;
    void removeSection(const QString &application, const QString &section) override;
};
