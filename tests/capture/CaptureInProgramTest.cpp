// Capture windows inside the real main window, copying the embedded host's
// map after it has heard demo traffic.
#include "DemoProgram.h"

#include "capture/frmCapture.h"
#include "host/EmbeddedHostMap.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

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
