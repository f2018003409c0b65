#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// Sets up the demo for a user, as the host program's installer would, with
// the program's own writers: the demo host folder in the data folder, weather
// history for its weather stations, element sets with today's epoch, Kestrel
// options that suit the demo (the home station as the satellite observer,
// weather chart ranges that fit its weather, its satellites chosen) and the
// host's "Program Folder" setting.
//
// It never overwrites a file someone else wrote: a file is written only
// while it does not exist or still holds exactly what the installer last
// wrote there (its checksum is kept in the data folder's ".demo-install").
// A weather data file is only ever started, never rewritten, since Kestrel
// adds to it. Running it again changes nothing but what has aged (the
// element sets on a new day).
class DemoInstaller
{
public:
    struct Folders
    {
        QString share;   // the shipped files, holding demo-host
        QString data;    // Kestrel's data folder
        QString config;  // the settings folder
    };

    DemoInstaller(Folders folders, QDateTime now);

    // False with the reason when something could not be written; what was
    // written before stays.
    bool run(QString *errorText);

    // One line per thing done or left alone, for the user.
    const QStringList &notes() const { return m_notes; }

    static inline const QString ManifestName = QStringLiteral(".demo-install");
    static inline const QString DemoFolderName = QStringLiteral("DemoHost");

private:
    enum class Outcome { Written, Unchanged, NotOurs, Failed };

    bool installHostFolder();
    bool installWeather();
    bool installElements();
    bool installOptions();
    bool recordHostFolder();

    // Writes whole files the installer owns; see the class comment.
    Outcome writeOwned(const QString &path, const QByteArray &bytes);
    // Notes what a write of one file came to; false when it failed.
    bool noteOwned(Outcome outcome, const QString &written, const QString &kept);
    QString manifestKey(const QString &path) const;
    void readManifest();
    bool saveManifest();

    Folders m_folders;
    QDateTime m_now;
    QString m_demoFolder;
    QHash<QString, QByteArray> m_manifest;  // key: path below the data or config folder; value: SHA-256
    QByteArray m_manifestRead;
    QStringList m_notes;
    QString m_error;
};
