#pragma once

#include <QString>

// The per-user settings store: text values addressed by application name,
// section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // True and the stored text when the key exists; false otherwise.
    virtual bool read(const QString &application, const QString &section, const QString &key,
                      QString *value) const = 0;
    virtual void write(const QString &application, const QString &section, const QString &key,
                       const QString &value) = 0;
    // No error when the section does not exist.
    virtual void removeSection(const QString &application, const QString &section) = 0;

    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue = {}) const
    {
        QString text;
        return read(application, section, key, &text) ? text : defaultValue;
    }

    static SettingsStore &instance();
    static void install(SettingsStore *store);
};
