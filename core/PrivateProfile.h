#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Reads and writes INI-style profile files the way the Windows profile API
// does: case-insensitive section and key names, "key=value" lines, blanks
// around names and values ignored, no escaping, CR LF line ends. A line is
// Latin-1, or UTF-8 when it holds what Latin-1 cannot (see LineText.h).
// Lines it does not understand (comments, junk) are kept as they are.
class PrivateProfile
{
public:
    explicit PrivateProfile(QString path);

    // Loads the file; a missing file is an empty profile, not an error.
    bool load();
    // Writes the whole file through a temporary file renamed over the old one.
    bool save(QString *errorText = nullptr) const;
    // The bytes save() writes.
    QByteArray content() const;

    const QString &path() const { return m_path; }

    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Refuses (false, nothing changed) what would not read back as written:
    // see canHold().
    bool setValue(const QString &section, const QString &key, const QString &value);
    static bool canHold(const QString &section, const QString &key, const QString &value);
    void removeKey(const QString &section, const QString &key);
    void removeSection(const QString &section);

    QStringList sectionNames() const;
    QStringList keyNames(const QString &section) const;

    // One-shot helpers that load, change and save.
    static QString readString(const QString &path, const QString &section, const QString &key,
                              const QString &defaultValue = {});
    static bool writeString(const QString &path, const QString &section, const QString &key,
                            const QString &value);

private:
    struct Line
    {
        QString text;      // the line as read or written
        QString section;   // for a section header: its name
        QString key;       // for a key line: its name
        QString value;     // for a key line: its value
        enum Kind { Other, Section, Key } kind = Other;
    };

    static Line parse(const QString &text);
    int findSection(const QString &section) const;
    // Index one past the last line belonging to the section starting at index.
    int sectionEnd(int sectionIndex) const;
    int findKey(int sectionIndex, const QString &key) const;

    QString m_path;
    std::vector<Line> m_lines;
};
