// Capture windows inside the real main window, copying the embedded host's
// map after it has heard demo traffic.
#include "DemoProgram.h"

#include "capture/frmCapture.h"
#include "host/map/EmbeddedHostMap.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class CaptureInProgram : public DemoProgramTest
{
protected:
    frmCapture *activeCapture() const { return qobject_cast<frmCapture *>(main->activeChild()); }
    bool listed(const QString &caption) const
    {
        for (QAction *action : main->windowMenu()->actions())
            if (action->objectName() == caption)
                return true;
        return false;
    }
};

} // namespace

TEST_F(CaptureInProgram, CapturesOfTheHostMapAreCountedListedCopiedAndSaved)
{
    ASSERT_EQ(play(120), 120);
    EmbeddedHostMap *map = host()->hostMap();
    const QSize size = map->size();
    ASSERT_FALSE(size.isEmpty());

    main->tool("ID_Capture")->trigger();
    frmCapture *first = activeCapture();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), "Screen Capture 1");
    EXPECT_EQ(WindowRegistry::tagOf(first), "Screen Capture");
    EXPECT_TRUE(listed("Screen Capture 1"));
    EXPECT_EQ(first->picture().size(), size);
    EXPECT_EQ(first->picture(), map->copyArea(0, 0, size.width(), size.height()));
    // The frame fits inside the main window's area.
    const QRect area = main->mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(frameOf(first)->geometry())) << frameOf(first)->geometry().x();

    // Drag an area: the program opens "Screen Capture 2" with that part of the map.
    prompts.answers.enqueue(Prompts::Answer::Yes);
    sendMouse(first->picInner, QEvent::MouseButtonPress, {90, 60}, Qt::LeftButton);
    sendMouse(first->picInner, QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    sendMouse(first->picInner, QEvent::MouseButtonRelease, {30, 20}, Qt::NoButton);
    frmCapture *second = activeCapture();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(second->windowTitle(), "Screen Capture 2");
    EXPECT_TRUE(listed("Screen Capture 2"));
    EXPECT_EQ(second->picture(), map->copyArea(30, 20, 60, 40));
    EXPECT_EQ(main->capturesOpened(), 2);

    // Saved through the toolbar while active.
    QDir().mkpath(dirs.data() + "/Captures");
    prompts.fileAnswers.enqueue(dirs.data() + "/Captures/part.bmp");
    main->tool("ID_Save")->trigger();
    EXPECT_EQ(QImage(dirs.data() + "/Captures/part.bmp").convertToFormat(QImage::Format_RGB32),
              second->picture().convertToFormat(QImage::Format_RGB32));

    // Closing one lowers the count, so the next capture takes its number again.
    frameOf(second)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->capturesOpened(), 1);
    EXPECT_FALSE(listed("Screen Capture 2"));
    main->tool("ID_Capture")->trigger();
    EXPECT_EQ(main->activeChild()->windowTitle(), "Screen Capture 2");
    EXPECT_EQ(prompts.texts(), QStringList({frmCapture::CopyQuestion}));  // and nothing else
}

// Numbers come from the count of open captures, but never one an open
// capture still wears; the window list ticks the active capture, also once a
// dialog has come and gone.
TEST_F(CaptureInProgram, OpenCapturesNeverShareANumberAndTheTickFollowsTheActiveOne)
{
    auto open = [this] {
        main->tool("ID_Capture")->trigger();
        return activeCapture();
    };
    auto ticked = [this] {
        QStringList names;
        for (QAction *action : main->windowMenu()->actions())
            if (action->isChecked())
                names << action->objectName();
        return names;
    };
    auto entries = [this](const QString &caption) {
        int count = 0;
        for (QAction *action : main->windowMenu()->actions())
            count += action->objectName() == caption;
        return count;
    };
    main->activateWindow();  // as on a desktop
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    frmCapture *first = open();
    frmCapture *second = open();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    frameOf(first)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(main->capturesOpened(), 1);

    frmCapture *third = open();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(second->windowTitle(), "Screen Capture 2");
    EXPECT_EQ(third->windowTitle(), "Screen Capture 3") << "2 is still open";
    EXPECT_EQ(main->capturesOpened(), 2);
    EXPECT_EQ(entries("Screen Capture 2"), 1);
    EXPECT_EQ(entries("Screen Capture 3"), 1);
    EXPECT_EQ(ticked(), QStringList({"Screen Capture 3"}));

    main->mdiArea()->setActiveSubWindow(frameOf(second));
    EXPECT_EQ(ticked(), QStringList({"Screen Capture 2"}));

    // A dialog comes and goes; then another program takes the focus and
    // gives it back.
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    main->tool("ID_About...")->trigger();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_EQ(main->activeChild(), second);
    EXPECT_EQ(ticked(), QStringList({"Screen Capture 2"}));
    QEvent away(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &away);
    QEvent back(QEvent::ApplicationActivate);
    QCoreApplication::sendEvent(qApp, &back);
    QCoreApplication::processEvents();
    EXPECT_EQ(main->activeChild(), second) << "the active window is the same again";
    EXPECT_EQ(ticked(), QStringList({"Screen Capture 2"}));

    // With none open the count starts again.
    frameOf(second)->close();
    frameOf(third)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(open()->windowTitle(), "Screen Capture 1");
}
