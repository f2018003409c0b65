#pragma once

#include <QDialog>

#include "ui/SystemInfo.h"

class QLabel;
class QPushButton;
class QTextBrowser;

// "About Kestrel": the title, the version, the licence and the credits of the
// data the program shows, and a way to the system information program.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // "Version " and the major, minor and revision numbers.
    static QString versionText();

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QTextBrowser *txtCredits = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

    // How "System Info..." finds and starts the program (tests replace it).
    SystemInfo systemInfo;

    // Shows the box modally over the window.
    static void showFor(QWidget *owner);
};
