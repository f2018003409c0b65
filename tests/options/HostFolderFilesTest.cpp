// The host folder is known by the files in it.
#include "OptionsFixture.h"

#include "options/HostFolderFiles.h"

#include <QFile>

#include <unistd.h>

TEST(HostFolderFiles, TheEmbeddedHostsFolderIsKnownByItsOwnFiles)
{
    TempDirs dirs;
    const QString folder = dirs.data();
    auto touch = [&](const char *name) {
        QFile file(folder + u'/' + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    touch("KestrelHost.ini");
    EXPECT_FALSE(CheckUIPath(folder)) << "no home station there";
    touch("uiview32.ini");
    EXPECT_TRUE(CheckUIPath(folder)) << "no program file, but the host's own files";
}

TEST(HostFolderFiles, ProgramFileIsFoundWhateverItsCase)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    const QString folder = dirs.data();
    EXPECT_FALSE(CheckUIPath(folder));
    EXPECT_FALSE(CheckUIPath(QString()));
    QFile file(folder + QStringLiteral("/UIVIEW32.EXE"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(CheckUIPath(folder));
    EXPECT_TRUE(CheckUIPath(folder + u'/'));
    EXPECT_TRUE(prompts.shown.isEmpty());
    if (geteuid() != 0) {
        // A file that exists but cannot be opened is reported and still counts.
        file.setPermissions({});
        EXPECT_TRUE(CheckUIPath(folder));
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Error in ERROR_CheckUIPath : ")));
    }
}
