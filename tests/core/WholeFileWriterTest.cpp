#include "core/PrivateProfile.h"
#include "core/WholeFileWriter.h"

#include "TempDirs.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs the writer in a child whose file size limit is 2,048 bytes; returns
// what the child reported: 1 success, 0 failure, -1 the child died.
int saveUnderSizeLimit(const std::function<bool()> &save)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // over the limit, write() fails with EFBIG instead
        rlimit limit{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(save() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(WholeFileWriter, WriteCutShortBySizeLimitFailsAndKeepsTheOldFile)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/list.txt";
    const QByteArray old = "the old contents\r\n";
    writeFile(path, old);

    const int result = saveUnderSizeLimit([&] { return WholeFileWriter::save(path, QByteArray(3000, 'x')); });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(path), old);
}

TEST(WholeFileWriter, ProfileWithALongValueUnderSizeLimitKeepsTheOldFile)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/Kestrel.ini";
    const QByteArray old = "[Section]\r\nKey=short\r\n";
    writeFile(path, old);

    const int result = saveUnderSizeLimit([&] {
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
