#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
struct HostStationRecord;

// The alert a Mic-E emergency raises: a window kept in front of the others,
// listing every station in emergency until the user acknowledges it. One
// window serves every alert; a new one brings it forward again with a sound.
class frmEmergency : public QDialog
{
    Q_OBJECT
public:
    // Adds the station's alert and puts the window in front; made on first use.
    static frmEmergency *raiseFor(const HostStationRecord &record);
    // The window while it exists, or null.
    static frmEmergency *current();

    QListWidget *lstAlerts;
    QPushButton *cmdAcknowledge;

private:
    explicit frmEmergency(QWidget *parent);
    void addAlert(const HostStationRecord &record);
    void acknowledgeSelected();
};
