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

    // Between these two, writes collect in memory and reach the store at
    // once on commit, so a failure half way never leaves the store half old,
    // half new. commit() gives the reason when it fails.
    virtual void beginBatch() {}
    virtual bool commit(QString *errorText = nullptr)
    {
        (void)errorText;
        return true;
    }

    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue = {}) const
    {
        QString text;
        return read(application, section, key, &text) ? text : defaultValue;
    }

    static SettingsStore &instance();
    static void install(SettingsStore *store);
};
