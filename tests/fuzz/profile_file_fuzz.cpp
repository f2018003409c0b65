// Profile files (UIVIEW32.INI, STATIONS.INI, weather data): any bytes load,
// what loads saves and loads back the same, and a value the writer accepts
// reads back as written.
#include "FuzzSupport.h"

#include "core/PrivateProfile.h"
#include "core/Utilities.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace {

QMap<QString, QString> contents(const PrivateProfile &profile)
{
    QMap<QString, QString> all;
    for (const QString &section : profile.sectionNames())
        for (const QString &key : profile.keyNames(section))
            all.insert(section.toLower() + u'\n' + key.toLower(), profile.value(section, key));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    fuzz::Input in(data, size);
    const QString section = in.latin1(12), key = in.latin1(12), value = in.latin1(40);
    const QByteArray bytes = in.rest();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    PrivateProfile profile(path);
    profile.load();
    const QMap<QString, QString> loaded = contents(profile);
    const bool set = profile.setValue(section, key, value);
    fuzz::require(profile.save(), "a profile saves");

    PrivateProfile again(path);
    again.load();
    if (set) {
        fuzz::require(again.value(section, key) == value, "a value set reads back",
                      QStringLiteral("[%1] %2=%3 read as %4").arg(section, key, value, again.value(section, key)));
        again.removeKey(section, key);
        profile.removeKey(section, key);
    }
    fuzz::require(contents(again) == contents(profile), "what is saved loads back the same");
    fuzz::require(set || contents(again) == loaded, "saving keeps what was loaded");

    const QString line = QString::fromLatin1(bytes);
    for (qint16 n = 1; n < 8; ++n)
        (void)GetField(line, n);
    (void)SplitText(line, u',');
    return 0;
}
