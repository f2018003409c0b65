#pragma once

#include <QPointer>
#include <QWidget>

class QAction;
class QToolBar;
class WxChartView;

// The chart tool window: zoom, pan, reset, save and copy for the chart of the
// active weather window's selected tab. One at a time; it floats over the
// main window while the weather chart toolbar option is on and closes with
// the last weather window.
class frmWxToolbar : public QWidget
{
    Q_OBJECT
public:
    // The open tool window, or null.
    static frmWxToolbar *instance();
    // Opens it (once) over the owner and shows it.
    static frmWxToolbar *open(QWidget *owner);
    static void closeIfOpen();

    // The chart the commands act on; null disables them.
    void bind(WxChartView *chart);
    WxChartView *boundChart() const { return m_chart; }

    // The commands, also as actions with their object names for tests.
    void zoomIn();
    void zoomOut();
    void setZoomArea(bool on);
    void setPan(bool on);
    void reset();
    // Asks for a file name through Prompts and writes the chart as PNG.
    void saveChart();
    // Puts the chart on the clipboard as an image.
    void copyChart();

    QAction *action(const QString &name) const;

private:
    explicit frmWxToolbar(QWidget *owner);
    ~frmWxToolbar() override;
    void updateActions();
    QAction *addCommand(const QString &name, const QString &text, const QString &tip,
                        const QKeySequence &keys, void (frmWxToolbar::*slot)());

    QToolBar *m_bar = nullptr;
    QPointer<WxChartView> m_chart;
    QAction *m_zoomArea = nullptr;
    QAction *m_pan = nullptr;
};
