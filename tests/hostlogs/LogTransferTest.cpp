#include "hostlogs/LogTransfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

class LogTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source = root.filePath("LogFiles");
        target = root.filePath("Logs");
        QDir().mkpath(source);
        QDir().mkpath(target);
    }
    QTemporaryDir root;
    QString source, target;
};

} // namespace

TEST_F(LogTransferTest, MoveLeavesTheFileOnlyAtTheDestinationAndCopyLeavesBoth)
{
    writeFile(source + "/a.log", "first\r\n");
    writeFile(source + "/b.log", "second\r\n");
    writeFile(target + "/b.log", "older copy to be replaced\r\n");
    QString error;
    ASSERT_TRUE(LogTransfer::moveFile(source + "/a.log", target, &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(source + "/a.log"));
    EXPECT_EQ(readAll(target + "/a.log"), "first\r\n");

    ASSERT_TRUE(LogTransfer::copyFile(source + "/b.log", target, &error));
    EXPECT_EQ(readAll(source + "/b.log"), "second\r\n");
    EXPECT_EQ(readAll(target + "/b.log"), "second\r\n");
    EXPECT_EQ(LogTransfer::filesIn(target), QStringList({"a.log", "b.log"}));
    EXPECT_TRUE(LogTransfer::filesIn(root.filePath("none")).isEmpty());
}

TEST_F(LogTransferTest, AMoveIntoItsOwnFolderIsRefusedAndLosesNothing)
{
    writeFile(source + "/a.log", "only copy\r\n");
    QString error;
    EXPECT_FALSE(LogTransfer::moveFile(source + "/a.log", source, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(source + "/a.log"), "only copy\r\n");
    EXPECT_FALSE(LogTransfer::copyFile(source + "/missing.log", target, &error));
    EXPECT_FALSE(LogTransfer::copyFile(source + "/a.log", QString(), &error));
}

TEST_F(LogTransferTest, AMoveThatFailsHalfWayLeavesBothSidesAsTheyWere)
{
    const QByteArray big(3000, 'x');
    writeFile(source + "/big.log", big);
    writeFile(target + "/big.log", "the destination's own file\r\n");

    // In a child whose files may not grow past 2,048 bytes, the copy breaks off part way.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        _exit(LogTransfer::moveFile(source + "/big.log", target, &error) ? 1 : error.isEmpty() ? 2 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the move fails and says why";
    EXPECT_EQ(readAll(source + "/big.log"), big);
    EXPECT_EQ(readAll(target + "/big.log"), "the destination's own file\r\n");
    EXPECT_EQ(LogTransfer::filesIn(target), QStringList({"big.log"})) << "no temporary file left behind";
}
