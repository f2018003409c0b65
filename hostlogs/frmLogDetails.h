#pragma once

#include <QDialog>

class QListWidget;
class QLineEdit;
class QPushButton;

// The summary of one log file: its first and last time and how often each
// station was heard in it.
class frmLogDetails : public QDialog
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Log file details");
    static inline const QString InvalidTitle = QStringLiteral("Invalid log file");
    static inline const QString InvalidText = QStringLiteral(
        "The selected file does not appear to be a valid UIView log file. Please select another file.");

    explicit frmLogDetails(QWidget *parent = nullptr);

    // Reads the file and fills the window; false (after the warning) when it
    // is no log file.
    bool examine(const QString &path);

    // Opens the window over the owner for that file, modal to it; nothing
    // but the warning for a file that is no log. Returns the window, or null.
    static frmLogDetails *showFor(QWidget *owner, const QString &path);

    QLineEdit *txtLogStartDate = nullptr;
    QLineEdit *txtLogEndDate = nullptr;
    QListWidget *lstStations = nullptr;
    QPushButton *cmdOK = nullptr;
};
