#include "core/PrivateProfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("test.ini");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

TEST(PrivateProfile, NamesAreCaseInsensitiveAndBlanksIgnored)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[Station]\r\n  Latitude = 3614.79N \r\nCALLSIGN=N0CALL\r\n");
    EXPECT_EQ(PrivateProfile::readString(path, "STATION", "LATITUDE"), "3614.79N");
    EXPECT_EQ(PrivateProfile::readString(path, "station", "callsign"), "N0CALL");
    EXPECT_EQ(PrivateProfile::readString(path, "STATION", "MISSING", "dflt"), "dflt");
    EXPECT_EQ(PrivateProfile::readString(dir.filePath("none.ini"), "A", "B", "x"), "x");
}

TEST(PrivateProfile, SlashInSectionNameAndLatin1BytesSurvive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("wx.kew");
    ASSERT_TRUE(PrivateProfile::writeString(path, "07/12/2026", "12:00", QString::fromLatin1("a\xfd" "b\xfe")));
    EXPECT_EQ(PrivateProfile::readString(path, "07/12/2026", "12:00"), QString::fromLatin1("a\xfd" "b\xfe"));
    EXPECT_EQ(readFile(path), QByteArray("[07/12/2026]\r\n12:00=a\xfd" "b\xfe\r\n"));
}

// A value typed in another script comes back as typed; lines the Windows
// program wrote in Latin-1 still read as Latin-1.
TEST(PrivateProfile, LinesBeyondLatin1AreWrittenInUtf8AndReadBack)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "\xEF\xBB\xBF[Satellite]\rObserver=Gr\xFC\xDF" "e\r");
    const QString russian = QStringLiteral("\u041C\u043E\u0441\u043A\u0432\u0430");
    EXPECT_EQ(PrivateProfile::readString(path, "Satellite", "Observer"), QStringLiteral("Gr\u00FC\u00DFe"));
    ASSERT_TRUE(PrivateProfile::writeString(path, "Satellite", "Second", russian));
    EXPECT_EQ(PrivateProfile::readString(path, "Satellite", "Second"), russian);
    EXPECT_EQ(readFile(path), "[Satellite]\r\nObserver=Gr\xFC\xDF" "e\r\nSecond=" + russian.toUtf8() + "\r\n");
}

TEST(PrivateProfile, UpdatesInPlaceAddsAfterLastKeyAndKeepsComments)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "; comment\n[A]\nx=1\n\n[B]\ny=2\n");
    PrivateProfile profile(path);
    ASSERT_TRUE(profile.load());
    profile.setValue("a", "X", "9");
    profile.setValue("A", "z", "3");
    profile.setValue("C", "w", "4");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(readFile(path), QByteArray("; comment\r\n[A]\r\nx=9\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n"));
    EXPECT_EQ(profile.keyNames("a"), QStringList({"x", "z"}));
}

TEST(PrivateProfile, RemoveSectionTakesItsKeysOnly)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[AutoLog]\r\nAutoLog1=A\r\nAutoLog2=B\r\n[Other]\r\nk=v\r\n");
    PrivateProfile profile(path);
    profile.load();
    profile.removeSection("autolog");
    profile.removeSection("does not exist");
    EXPECT_EQ(profile.sectionNames(), QStringList({"Other"}));
    EXPECT_EQ(profile.value("Other", "k"), "v");
}

TEST(PrivateProfile, GarbageLinesAreSkippedNotFatal)
{
    QTemporaryDir dir;
    static const char bytes[] = "\0\0[broken\n=novalue\nno equals\n[S]\nk=v\r\r\n";
    const QString path = writeFile(dir, QByteArray(bytes, sizeof(bytes) - 1));
    PrivateProfile profile(path);
    ASSERT_TRUE(profile.load());
    EXPECT_EQ(profile.value("S", "k"), "v");
}

// A value with a line end would come back as a new section or key.
TEST(PrivateProfile, RefusesWhatWouldNotReadBackAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/p.ini";
    PrivateProfile profile(path);
    EXPECT_TRUE(profile.setValue("S", "Key", "plain value"));
    EXPECT_FALSE(profile.setValue("S", "Bad", "first\r\n[Injected]\r\nx=1"));
    EXPECT_FALSE(profile.setValue("S", "Bad", QString("a") + QChar(0) + "b"));
    EXPECT_FALSE(profile.setValue("S", "A=B", "v"));
    EXPECT_FALSE(profile.setValue("S]x", "K", "v"));
    for (const char *key : {" Key", "Key\t", ";Key", "[Key]"})
        EXPECT_FALSE(profile.setValue("S", key, "v")) << key;
    EXPECT_FALSE(profile.setValue(" S", "K", "v"));
    EXPECT_FALSE(PrivateProfile::writeString(path, "S", "Bad", "one\ntwo"));
    ASSERT_TRUE(profile.save());

    PrivateProfile back(path);
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.sectionNames(), QStringList{"S"});
    EXPECT_EQ(back.keyNames("S"), QStringList{"Key"});
    EXPECT_EQ(back.value("S", "Key"), "plain value");
}

// Reading trims a value and drops a pair of quotes around it.
TEST(PrivateProfile, BlanksAndQuotesAtAValuesEndsReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/p.ini";
    PrivateProfile profile(path);
    const QStringList values = {" lead", "trail\f", "\"quoted\"", "\"", "in \"side\" quotes", ""};
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(profile.setValue("S", QStringLiteral("K%1").arg(i), values[i]));
    ASSERT_TRUE(profile.save());
    PrivateProfile back(path);
    ASSERT_TRUE(back.load());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.value("S", QStringLiteral("K%1").arg(i)), values[i]);
}
