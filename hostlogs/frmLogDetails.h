#pragma once

#include <QDialog>
#include <QStringListModel>

class QListView;
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

    // Opens the window over the owner for that file, modal to it, and reads
    // the file on another thread meanwhile: a busy day's log takes a while.
    // A file that is no log closes the window again and leaves only the
    // warning. Returns the window.
    static frmLogDetails *showFor(QWidget *owner, const QString &path);

    bool reading() const { return m_reading; }
    QStringList stationLines() const { return m_stations.stringList(); }

    QLineEdit *txtLogStartDate = nullptr;
    QLineEdit *txtLogEndDate = nullptr;
    QListView *lstStations = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    struct Reading;
    // False (after the warning) when the file is unreadable or no log.
    bool fill(const Reading &result);

    // A busy log names tens of thousands of stations: a plain model of lines
    // shows them in a few milliseconds where an item per line takes tens.
    QStringListModel m_stations;
    bool m_reading = false;
};
