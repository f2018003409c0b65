#include "ui/frmAbout.h"

#include "ScriptedPorts.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <gtest/gtest.h>

TEST(About, CaptionTitleVersionAndCredits)
{
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Kestrel"));
    EXPECT_EQ(box.lblTitle->text(), QStringLiteral("Kestrel"));
    EXPECT_EQ(box.lblVersion->text(), QStringLiteral("Version " KESTREL_VERSION));
    EXPECT_EQ(box.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    const QString credits = box.txtCredits->toPlainText();
    EXPECT_TRUE(credits.contains(QStringLiteral("GNU General Public License")));
    EXPECT_TRUE(credits.contains(QStringLiteral("NASA")));
    EXPECT_TRUE(credits.contains(QStringLiteral("time zone database")));

    box.show();
    box.cmdOK->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(About, SystemInfoStartsTheFirstProgramFound)
{
    ScriptedPrompts prompts;
    frmAbout box;
    QStringList looked;
    QString started;
    box.systemInfo.find = [&](const QString &name) {
        looked << name;
        return name == QLatin1String("kinfocenter") || name == QLatin1String("lshw-gtk") ? QStringLiteral("/usr/bin/") + name
                                                                                          : QString();
    };
    box.systemInfo.start = [&](const QString &path, const QStringList &) {
        started = path;
        return true;
    };
    box.cmdSysInfo->click();
    EXPECT_EQ(started, QStringLiteral("/usr/bin/kinfocenter"));
    EXPECT_EQ(looked.first(), SystemInfo::candidates().first().name);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(About, SystemInfoMissingOrFailingSaysItIsUnavailable)
{
    ScriptedPrompts prompts;
    frmAbout box;
    bool tried = false;
    box.systemInfo.find = [](const QString &) { return QString(); };
    box.systemInfo.start = [&](const QString &, const QStringList &) { return tried = true; };
    box.cmdSysInfo->click();
    EXPECT_FALSE(tried) << "nothing to start";

    box.systemInfo.find = [](const QString &name) { return QStringLiteral("/opt/") + name; };
    box.systemInfo.start = [](const QString &, const QStringList &) { return false; };
    box.cmdSysInfo->click();

    ASSERT_EQ(prompts.shown.size(), 2);
    for (const auto &shown : prompts.shown) {
        EXPECT_EQ(shown.text, QStringLiteral("System Information Is Unavailable At This Time"));
        EXPECT_EQ(shown.buttons, Prompts::Buttons::Ok);
    }
}
