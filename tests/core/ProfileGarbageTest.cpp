#include "core/PrivateProfile.h"
#include "core/Utilities.h"

#include "TempDirs.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(ProfileGarbage, AnyBytesLoadAndWhatLoadsSaves)
{
    TempDirs dirs;
    QRandomGenerator random(7122026);
    const QString path = dirs.data() + "/g.ini";
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(int(random.bounded(400)), '\0');
        for (char &b : bytes)
            b = "[]=;\r\n\0ab \xfd\xfe"[random.bounded(13)];
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        PrivateProfile profile(path);
        ASSERT_TRUE(profile.load());
        const QStringList sections = profile.sectionNames();
        profile.setValue("Kept", "key", "value");
        ASSERT_TRUE(profile.save());
        PrivateProfile again(path);
        again.load();
        EXPECT_EQ(again.value("Kept", "key"), "value");
        EXPECT_GE(again.sectionNames().size(), sections.size());

        const QString line = QString::fromLatin1(bytes);
        for (qint16 n = 1; n < 6; ++n)
            (void)GetField(line, n);
        EXPECT_FALSE(SplitText(line, ',').isEmpty());
    }
}
