#pragma once

#include <QDialog>

class EmbeddedHost;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Station": the home station's callsign, position, symbol, beacon comment,
// status and beacon interval. OK writes them and the host applies them at
// once. A field that does not read is refused where it is, with a line
// saying why; nothing is written until every field reads.
class StationWindow : public QDialog
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Station");

    explicit StationWindow(EmbeddedHost *host, QWidget *parent = nullptr);

    QLineEdit *txtCallsign;
    QLineEdit *txtPosition;
    QLabel *lblPosition;  // what the position reads as
    QPushButton *btnFromMap;
    QPushButton *btnFromGps;
    QListWidget *lstSymbol;
    QLineEdit *txtComment;
    QLineEdit *txtStatus;
    QLineEdit *txtInterval;
    QLabel *lblProblem;
    QLabel *lblBeacon;  // whether the beacon goes out, and where
    QPushButton *btnOk;

    // Checks and applies; false (the window stays) when a field is refused.
    bool apply();
    // A GPS fix for "from GPS"; the button is enabled while there is one.
    void setGpsFix(bool valid, double latitude, double longitude);

private:
    void refuse(QLineEdit *field, const QString &problem);
    void showPositionMeaning();
    void selectSymbol(const QString &symbol);

    EmbeddedHost *m_host;
    double m_gpsLatitude = 0, m_gpsLongitude = 0;
};
