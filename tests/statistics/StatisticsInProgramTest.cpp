// The statistics windows inside the real main window, counting demo traffic
// heard by the embedded host.
#include "DemoProgram.h"

#include "statistics/frmStatistics.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

class StatisticsInProgram : public DemoProgramTest
{
protected:
    frmStatistics *live() const { return qobject_cast<frmStatistics *>(main->liveStatistics()); }
    QStringList windowList() const
    {
        QStringList entries;
        for (QAction *action : main->windowMenu()->actions())
            entries << action->objectName();
        return entries;
    }
};

} // namespace

TEST_F(StatisticsInProgram, HeardFramesFillTheLiveBarsShownOrNotAndASavedCopyStaysPut)
{
    ASSERT_NE(live(), nullptr);
    EXPECT_EQ(WindowRegistry::tagOf(live()), "Live Statistics");
    EXPECT_EQ(live()->windowTitle(), "Live Statistics");
    EXPECT_FALSE(frameOf(live())->isVisible());
    EXPECT_FALSE(windowList().contains("Live Statistics"));

    // Hidden, it counts what the host hears.
    ASSERT_EQ(play(40), 40);
    EXPECT_EQ(live()->sampler()->frameCount(), 40);
    clock.time = clock.time.addSecs(60);
    live()->Timer1_Timer();
    EXPECT_EQ(live()->series().bars().last().value, 40);

    // Shown by its tool, listed, and without a close box.
    main->tool("ID_Statistics")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frameOf(live())->isVisible());
    EXPECT_TRUE(windowList().contains("Live Statistics"));
    EXPECT_FALSE(frameOf(live())->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(main->activeChild(), live());

    // Save through the toolbar, then open the file as a saved window.
    QDir().mkpath(dirs.data() + "/Statistics");
    const QString path = dirs.data() + "/Statistics/demo.kes";
    prompts.fileAnswers.enqueue(path);
    main->tool("ID_Save")->trigger();
    ASSERT_TRUE(QFile::exists(path)) << prompts.texts().join(u'\n').toStdString();
    prompts.fileAnswers.enqueue(path);
    main->mnuFileOpen_Click();
    auto *saved = qobject_cast<frmStatistics *>(main->activeChild());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->windowTitle(), "Saved Statistics " + path);
    EXPECT_EQ(WindowRegistry::tagOf(saved), "Saved Statistics");
    EXPECT_TRUE(windowList().contains("Saved Statistics " + path));
    ASSERT_EQ(saved->series().count(), 1);
    EXPECT_EQ(saved->series().bars().first().value, 40);
    EXPECT_EQ(saved->series().bars().first().time, live()->series().bars().first().time);

    // More traffic: the live window counts on, the saved one does not.
    play(60);
    clock.time = clock.time.addSecs(60);
    live()->Timer1_Timer();
    EXPECT_EQ(live()->series().bars().last().value, 100);
    EXPECT_EQ(saved->series().bars().first().value, 40);

    // Hidden again by the tool: still counting.
    main->tool("ID_Statistics")->trigger();
    EXPECT_FALSE(frameOf(live())->isVisible());
    play(5);
    EXPECT_EQ(live()->sampler()->frameCount(), 5);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(u'\n').toStdString();
}
