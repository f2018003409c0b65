#pragma once

#include "core/PrivateProfile.h"
#include "core/SettingsStore.h"

#include <QHash>
#include <memory>

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

    // Each application's file is saved once, whole, on commit.
    void beginBatch() override;
    bool commit(QString *errorText = nullptr) override;

    // When the settings folder cannot be written (the user was told once at
    // start), commits drop their changes quietly instead of failing again.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

private:
    PrivateProfile &pending(const QString &application);

    bool m_batch = false;
    bool m_readOnly = false;
    QHash<QString, std::shared_ptr<PrivateProfile>> m_pending;
};
