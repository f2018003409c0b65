#pragma once

#include "core/WindowInterfaces.h"
#include "satellites/SatelliteUpdater.h"

#include <QWidget>

class OrbiterControl;
class QTabWidget;

// "Satellite Status": the tracking control on a tab strip of four views.
// It is loaded hidden at start and unloads with the program; its own close
// box is not offered, the toolbar shows and hides it.
class frmSatStatus : public QWidget, public SatelliteWindow
{
    Q_OBJECT
public:
    // The control and the widget it draws in (usually the same object).
    frmSatStatus(OrbiterControl &control, QWidget *controlWidget, QWidget *parent = nullptr);

    // SatelliteWindow
    void updateNow() override { m_updater.updateNow(); }
    OrbiterControl *orbiter() override { return &m_control; }

    SatelliteUpdater &updater() { return m_updater; }
    // A tab was selected: the shared panel moves onto it and the control
    // takes that tab's display style.
    void SetupTab(const QString &caption);
    QTabWidget *tabStrip() const { return m_tabs; }
    QWidget *controlWidget() const { return m_panel; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    OrbiterControl &m_control;
    QWidget *m_panel;
    QTabWidget *m_tabs;
    SatelliteUpdater m_updater;
};
