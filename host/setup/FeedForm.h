#pragma once

#include "host/HostConfig.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// The settings of one feed, with the fields its type uses: server, port,
// login and filter for APRS-IS; host and port for a KISS TNC over TCP; host,
// port and login for a DX cluster; file, speed and loop for a replay;
// device and speed for a serial TNC; host and port of gpsd.
class FeedForm : public QWidget
{
    Q_OBJECT
public:
    explicit FeedForm(QWidget *parent = nullptr);

    // A replay file in this folder shows as its name, as the file keeps it.
    void setHostFolder(const QString &folder) { m_hostFolder = folder; }
    void load(const FeedSettings &feed);
    // The form's settings over base (the fields the form does not show are
    // kept); false with the reason, the bad field focused, when one does
    // not read.
    bool read(const FeedSettings &base, FeedSettings *feed, QString *problem);
    FeedSettings::Type type() const;

    QComboBox *cboType;
    QLineEdit *txtHost;
    QLineEdit *txtPort;
    QLineEdit *txtCallsign;
    QLineEdit *txtFilter;
    QLabel *lblFilterHint;
    QLineEdit *txtPasscode;
    QCheckBox *chkTransmit;
    QLineEdit *txtPath;
    QLineEdit *txtFile;
    QLineEdit *txtSpeed;
    QCheckBox *chkLoop;
    QLineEdit *txtIdle;
    QLineEdit *txtDevice;
    QLineEdit *txtBaud;

private:
    QString m_hostFolder;
    void showFieldsOf(FeedSettings::Type type);
    bool refuse(QLineEdit *field, const QString &problem, QString *out);

    QFormLayout *m_form;
};
