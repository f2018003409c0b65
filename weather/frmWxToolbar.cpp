#include "weather/frmWxToolbar.h"

#include "core/ErrorReport.h"
#include "core/Prompts.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"
#include "weather/WxChartView.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Chart Tools");
const QString kSaveTitle = QStringLiteral("Save Chart As");
const QString kSaveFilter = QStringLiteral("PNG Image (*.png);;All Files (*.*)");
const char *const kSuggestedName = "wxSuggestedName";

QPointer<frmWxToolbar> g_toolbar;

} // namespace

frmWxToolbar *frmWxToolbar::instance() { return g_toolbar; }

frmWxToolbar *frmWxToolbar::open(QWidget *owner)
{
    if (!g_toolbar)
        g_toolbar = new frmWxToolbar(owner);
    g_toolbar->show();
    return g_toolbar;
}

void frmWxToolbar::closeIfOpen()
{
    if (g_toolbar) {
        g_toolbar->close();
        delete g_toolbar.data();
    }
}

frmWxToolbar::frmWxToolbar(QWidget *owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("frmWxToolbar"));
    setWindowTitle(kCaption);
    m_bar = new QToolBar(this);
    m_bar->setObjectName(QStringLiteral("tbChartCommander"));
    m_bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_bar);

    addCommand(QStringLiteral("cmdZoomIn"), QStringLiteral("Zoom &In"), QStringLiteral("Zoom in on the chart (+)"),
               QKeySequence::ZoomIn, &frmWxToolbar::zoomIn);
    addCommand(QStringLiteral("cmdZoomOut"), QStringLiteral("Zoom &Out"), QStringLiteral("Zoom out (-)"),
               QKeySequence::ZoomOut, &frmWxToolbar::zoomOut);
    m_zoomArea = addCommand(QStringLiteral("cmdZoomArea"), QStringLiteral("Zoom &Area"),
                            QStringLiteral("Drag a rectangle on the chart to zoom to it; right-click zooms out"),
                            QKeySequence(), nullptr);
    m_pan = addCommand(QStringLiteral("cmdPan"), QStringLiteral("&Pan"), QStringLiteral("Drag the chart to move it"),
                       QKeySequence(), nullptr);
    m_zoomArea->setCheckable(true);
    m_pan->setCheckable(true);
    auto *modes = new QActionGroup(this);
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    modes->addAction(m_zoomArea);
    modes->addAction(m_pan);
    connect(m_zoomArea, &QAction::toggled, this, &frmWxToolbar::setZoomArea);
    connect(m_pan, &QAction::toggled, this, &frmWxToolbar::setPan);
    addCommand(QStringLiteral("cmdReset"), QStringLiteral("&Reset"), QStringLiteral("Show the whole day again (Home)"),
               QKeySequence(), &frmWxToolbar::reset);
    m_bar->addSeparator();
    addCommand(QStringLiteral("cmdSave"), QStringLiteral("&Save..."), QStringLiteral("Save the chart as a PNG picture"),
               QKeySequence::Save, &frmWxToolbar::saveChart);
    addCommand(QStringLiteral("cmdCopy"), QStringLiteral("&Copy"), QStringLiteral("Copy the chart as a picture"),
               QKeySequence::Copy, &frmWxToolbar::copyChart);
    updateActions();
    adjustSize();
    if (owner)
        move(owner->mapToGlobal(QPoint(owner->width() - width() - 24, 96)));
}

frmWxToolbar::~frmWxToolbar()
{
    if (m_chart)
        m_chart->setMode(WxChartView::Mode::Select);
}

QAction *frmWxToolbar::addCommand(const QString &name, const QString &text, const QString &tip,
                                  const QKeySequence &keys, void (frmWxToolbar::*slot)())
{
    auto *action = m_bar->addAction(text);
    action->setObjectName(name);
    action->setToolTip(tip);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction *frmWxToolbar::action(const QString &name) const { return m_bar->findChild<QAction *>(name); }

void frmWxToolbar::bind(WxChartView *chart)
{
    if (m_chart == chart)
        return;
    if (m_chart)
        m_chart->setMode(WxChartView::Mode::Select);
    m_chart = chart;
    if (m_chart)
        m_chart->setMode(m_zoomArea->isChecked() ? WxChartView::Mode::ZoomArea
                         : m_pan->isChecked()    ? WxChartView::Mode::Pan
                                                 : WxChartView::Mode::Select);
    updateActions();
}

void frmWxToolbar::updateActions()
{
    for (QAction *action : m_bar->actions())
        action->setEnabled(!m_chart.isNull());
}

void frmWxToolbar::zoomIn()
{
    if (m_chart)
        m_chart->zoomIn();
}

void frmWxToolbar::zoomOut()
{
    if (m_chart)
        m_chart->zoomOut();
}

void frmWxToolbar::setZoomArea(bool on)
{
    if (m_zoomArea->isChecked() != on)
        m_zoomArea->setChecked(on);
    if (m_chart)
        m_chart->setMode(on ? WxChartView::Mode::ZoomArea
                            : (m_pan->isChecked() ? WxChartView::Mode::Pan : WxChartView::Mode::Select));
}

void frmWxToolbar::setPan(bool on)
{
    if (m_pan->isChecked() != on)
        m_pan->setChecked(on);
    if (m_chart)
        m_chart->setMode(on ? WxChartView::Mode::Pan
                            : (m_zoomArea->isChecked() ? WxChartView::Mode::ZoomArea : WxChartView::Mode::Select));
}

void frmWxToolbar::reset()
{
    if (m_chart)
        m_chart->resetView();
}

void frmWxToolbar::saveChart()
{
    if (!m_chart)
        return;
    const QString suggested = m_chart->property(kSuggestedName).toString();
    QString path = Prompts::instance().saveFileName(kSaveTitle, GetDataFolder(), kSaveFilter, suggested);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_chart->image().save(&buffer, "PNG")) {
        reportError(QStringLiteral("SaveChart"), QStringLiteral("The chart could not be made into a picture"));
        return;
    }
    QString error;
    if (!WholeFileWriter::save(path, bytes, &error))
        reportError(QStringLiteral("SaveChart"), error);
}

void frmWxToolbar::copyChart()
{
    if (m_chart)
        QGuiApplication::clipboard()->setImage(m_chart->image());
}
