#include "core/CJString.h"
#include "core/LoadingDialog.h"
#include "core/Utilities.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

TEST(Utilities, FileNameParts)
{
    EXPECT_EQ(GetFilename("/data/Saved Lists/list.kel"), "list.kel");
    EXPECT_EQ(GetFilename("/home/Data/"), "Data");
    EXPECT_EQ(GetFilename("list.kel"), "");
    EXPECT_EQ(GetFilenameNoExt("my.list.kel"), "my.list");
    EXPECT_EQ(GetFilenameNoExt("N0CALL"), "N0CALL");
    EXPECT_EQ(GetFilenameExt("my.list.kel"), "kel");
    EXPECT_EQ(GetFilenameExt("README"), "");
}

TEST(Utilities, FileExistsAndShortPath)
{
    TempDirs dirs;
    const QString file = dirs.data() + "/a.txt";
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(GetShortPath(file), "");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + "/"));
    EXPECT_FALSE(FileExists(dirs.data()));  // a folder is not a file
    EXPECT_EQ(GetShortPath(dirs.data() + "/./a.txt"), QFileInfo(file).canonicalFilePath());
}

TEST(Utilities, LongDirFix)
{
    EXPECT_EQ(LongDirFix("/short", 20), "/short");
    EXPECT_EQ(LongDirFix("C:/Program Files/Radio/Logs/Today.log", 20), "C:/.../Logs/Today.log");
    // No separator in the tail: only the head and the ellipsis remain.
    EXPECT_EQ(LongDirFix("/abcdefghijklmnopqrstuvwxyz0123456789", 20), "/ab...");
}

TEST(Utilities, GetFieldFollowsQuotesAndClampsToLastField)
{
    const QString line = "N0CALL,\"Home, sweet\",51.5,-0.1";
    EXPECT_EQ(GetField(line, 1), "N0CALL");
    EXPECT_EQ(GetField(line, 2), "Home, sweet");
    EXPECT_EQ(GetField(line, 3), "51.5");
    EXPECT_EQ(GetField(line, 4), "-0.1");
    EXPECT_EQ(GetField(line, 5), "-0.1");
    EXPECT_EQ(GetField(",x", 1), "");
    EXPECT_EQ(GetField("\"a,b\",c", 1), "a,b");
    EXPECT_EQ(GetField("\"a,b\",c", 2), "c");
    EXPECT_EQ(GetField("a,b", 3), "b");
    EXPECT_EQ(GetField("a,b", 9), "b");
    EXPECT_EQ(GetField(" a , b", 2), " b");  // blanks remain
    EXPECT_EQ(GetField("\"unclosed,x", 2), "unclosed,x");
    EXPECT_EQ(GetField("", 3), "");
}

TEST(Utilities, SplitTextKeepsEmptyItems)
{
    EXPECT_EQ(SplitText(" a | b ", '|'), QStringList({"a", "b"}));
    EXPECT_EQ(SplitText("a,,b", ','), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitText("a,b,", ','), QStringList({"a", "b", ""}));
    EXPECT_EQ(SplitText("", ','), QStringList({""}));
    EXPECT_EQ(SplitText("x:y", ':'), QStringList({"x", "y"}));
}

TEST(Utilities, RemoveTextAndNumericKeys)
{
    QString text = "ab\r\ncd\r\n";
    RemoveText(text, "\r\n");
    EXPECT_EQ(text, "abcd");
    for (int key : {int('0'), int('9'), 8, 9, 13, 3, 22})
        EXPECT_TRUE(IsNumericKey(qint16(key))) << key;
    for (int key : {int('a'), int('.'), int('-'), int(' '), 0, 127})
        EXPECT_FALSE(IsNumericKey(qint16(key))) << key;
}

TEST(Utilities, DataFolderFollowsOverrideAndGetsItsSubfolders)
{
    TempDirs dirs;
    EXPECT_EQ(GetDataFolder(), QDir::cleanPath(dirs.data()));
    CreateDataFolders();
    for (const char *sub : {"Keps", "Observer", "LogFiles", "Saved Lists", "WxData", "Captures", "Statistics"})
        EXPECT_TRUE(QDir(dirs.data() + "/" + sub).exists()) << sub;
}

TEST(Utilities, BrowseForFolderAsksPrompts)
{
    ScriptedPrompts prompts;
    prompts.fileAnswers.enqueue("/chosen");
    EXPECT_EQ(BrowseForFolder(nullptr, "Pick"), "/chosen");
    EXPECT_EQ(BrowseForFolder(nullptr, "Pick"), "");
    EXPECT_EQ(prompts.fileTitles, QStringList({"Pick", "Pick"}));
}

TEST(CJString, TrimAndLength)
{
    CJString s;
    EXPECT_EQ(s.StringLength(), "0");
    s.setWorkingString("  ab  ");
    EXPECT_EQ(s.StringLength(), "6");
    EXPECT_EQ(s.TrimStringLeft(), "ab  ");
    EXPECT_EQ(s.TrimStringRight(), "ab");
    EXPECT_EQ(s.StringLength(), "6");  // only Length() measures again
    EXPECT_EQ(s.Length(), 2);
    s.setWorkingString("  x ");
    EXPECT_EQ(s.TrimStringBoth(), "x");
}

TEST(CJString, EditingOperations)
{
    CJString s;
    s.setWorkingString("DX de  N0CALL:  14025.0  ");
    s.FindAndReplace("  ", " ");
    EXPECT_EQ(s.WorkingString(), "DX de N0CALL: 14025.0 ");

    s.setWorkingString("abcd");
    s.Switch2Letters(1, 4);
    EXPECT_EQ(s.WorkingString(), "dbca");
    s.Switch2Letters(0, 2);
    s.Switch2Letters(2, 5);
    EXPECT_EQ(s.WorkingString(), "dbca");
    s.ReverseLetters();
    EXPECT_EQ(s.WorkingString(), "acbd");

    s.ConcatStrings("x", "y", 0);
    EXPECT_EQ(s.WorkingString(), "acbdxy");
    s.ConcatStrings("x", "y", 1);
    EXPECT_EQ(s.WorkingString(), "xy");
    s.ConcatStrings("p", "q", 2);
    EXPECT_EQ(s.WorkingString(), "xy");
    EXPECT_EQ(s.MakeArrayOfChrs(), QList<QChar>({'x', 'y'}));
}

TEST(CJString, CheckInvalidCharacters)
{
    CJString s;
    s.setWorkingString("Hello, World");
    EXPECT_EQ(s.CheckInvalidCharacters(QStringList({"z", "w"}), 1), 8);  // case ignored
    EXPECT_EQ(s.CheckInvalidCharacters(QStringList({"l"}), 5), 11);
    EXPECT_EQ(s.CheckInvalidCharacters(QStringList({"", "H"}), 1), 0);  // empty item ends the search
    EXPECT_EQ(s.CheckInvalidCharacters(QString("H"), 1), 0);           // not an array
    EXPECT_EQ(s.CheckInvalidCharacters(QVariantList({"q"}), 1), 0);
}

// Esc and the close box are Cancel: the work stops, the window does not just
// vanish while the work goes on behind it.
TEST(LoadingDialog, EscAndCloseBoxCancelTheWork)
{
    TempDirs dirs;
    LoadingDialog dialog;
    dialog.setRange(10);
    dialog.start();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_TRUE(dialog.isVisible());

    dialog.start();
    EXPECT_FALSE(dialog.cancelled());
    dialog.close();
    EXPECT_TRUE(dialog.cancelled());

    // Work that cannot be broken off ignores both.
    dialog.start();
    dialog.setCancelEnabled(false);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_FALSE(dialog.cancelled());
    EXPECT_TRUE(dialog.isVisible());
}
