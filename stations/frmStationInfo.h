#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QVBoxLayout;
struct HostTelemetry;

// What the host holds for one station (shared().currentStation), filled when
// the window is made; shown modally, centred over the main window.
class frmStationInfo : public QDialog
{
    Q_OBJECT
public:
    explicit frmStationInfo(QWidget *parent = nullptr);

    // Shows the window modally for shared().currentStation.
    static void showFor(QWidget *owner);

    QLabel *picSymbol;
    QLineEdit *txtLatitude;
    QLineEdit *txtLongitude;
    QLineEdit *txtCourse;
    QLineEdit *txtHeight;
    QLineEdit *txtSpeed;
    QLineEdit *txtMessage;  // a Mic-E station's message type
    QCheckBox *chkDirect;
    // Only when the host holds telemetry for the station.
    QTreeWidget *lstTelemetry = nullptr;

private:
    void Form_Load();
    void addTelemetry(const HostTelemetry &telemetry);

    QVBoxLayout *m_layout;
};
