#include "core/IniSettingsStore.h"
#include "core/PrivateProfile.h"
#include "core/WholeFileWriter.h"

#include "FileSizeLimit.h"
#include "TempDirs.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(WholeFileWriter, WriteCutShortBySizeLimitFailsAndKeepsTheOldFile)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/list.txt";
    const QByteArray old = "the old contents\r\n";
    writeFile(path, old);

    const int result = runUnderFileSizeLimit(2048, [&] { return WholeFileWriter::save(path, QByteArray(3000, 'x')); });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(path), old);
}

TEST(WholeFileWriter, ProfileWithALongValueUnderSizeLimitKeepsTheOldFile)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/Kestrel.ini";
    const QByteArray old = "[Section]\r\nKey=short\r\n";
    writeFile(path, old);

    const int result = runUnderFileSizeLimit(2048, [&] {
        PrivateProfile profile(path);
        profile.load();
        profile.setValue("Section", "Key", QString(3000, 'v'));
        return profile.save();
    });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(path), old);
}

TEST(WholeFileWriter, SavesWholeAndReportsAnUnwritableFolder)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/out.bin";
    const QByteArray bytes(100000, 'a');
    ASSERT_TRUE(WholeFileWriter::save(path, bytes));
    EXPECT_EQ(readAll(path), bytes);

    QString error;
    EXPECT_FALSE(WholeFileWriter::save(dirs.data() + "/no/such/folder/out.bin", bytes, &error));
    EXPECT_FALSE(error.isEmpty());
}

// The program's settings are saved in one go at shutdown: a store that runs
// out of room half way keeps every old value, never a mix of old and new.
TEST(WholeFileWriter, SettingsBatchThatCannotBeSavedLeavesTheStoreAsItWas)
{
    TempDirs dirs;
    const QString path = IniSettingsStore::fileFor("Kestrel");
    const QByteArray old = "[Settings]\r\nMainLeft=1000\r\n";
    writeFile(path, old);

    const int result = runUnderFileSizeLimit(1024, [] {
        IniSettingsStore store;
        store.beginBatch();
        // About 57 keys as at shutdown, well past the limit together.
        for (int i = 0; i < 57; ++i)
            store.write("Kestrel", "Section", QStringLiteral("Key%1").arg(i), QStringLiteral("a value of some length %1").arg(i));
        return store.commit();
    });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(path), old);
}

TEST(WholeFileWriter, SettingsBatchReadsItsOwnWritesAndSavesOnce)
{
    TempDirs dirs;
    IniSettingsStore store;
    store.beginBatch();
    store.write("Kestrel", "A", "One", "1");
    QString value;
    ASSERT_TRUE(store.read("Kestrel", "A", "One", &value));
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(QFile::exists(IniSettingsStore::fileFor("Kestrel")));
    store.removeSection("Kestrel", "A");
    store.write("Kestrel", "B", "Two", "2");
    QString error;
    ASSERT_TRUE(store.commit(&error)) << error.toStdString();
    EXPECT_EQ(readAll(IniSettingsStore::fileFor("Kestrel")), "[B]\r\nTwo=2\r\n");
}
