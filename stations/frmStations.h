#pragma once

#include <QComboBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QAction;
class QStringListModel;
class QToolBar;
class frmDocument;

// The station box of the stations monitor. While its list is open the hold
// flag keeps it still.
class StationBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;

signals:
    void aboutToOpen();
    void closedUp();
};

// The stations monitor, "Plotting Toolbar": a station box and tools to plot
// the chosen station's path, clear the map, plot DX and hide itself.
class frmStations : public QWidget
{
    Q_OBJECT
public:
    explicit frmStations(QWidget *parent = nullptr);
    ~frmStations() override;

    // The open monitor, or null.
    static frmStations *instance();
    // Refreshes the station box from that list's rows unless held. The box
    // is rebuilt lazily (at most a few times a second, and when it opens) so
    // a busy channel with a long list does not rebuild it for every frame.
    static void subUpdateList(frmDocument *list);
    // The list is going away.
    static void forgetList(frmDocument *list);

    // Rebuilds the station box now (unless held).
    void refresh();
    bool hold() const { return m_hold; }
    void setHold(bool on) { m_hold = on; }

    QComboBox *stationBox() const { return m_stations; }
    QAction *tool(const QString &id) const;

    void plotPath();
    void clearMap();
    void plotDx(bool on);
    void showHide(bool on);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QToolBar *m_toolbar;
    StationBox *m_stations;
    QStringListModel *m_callsigns;
    QPointer<frmDocument> m_source;
    QTimer m_refresh;
    bool m_hold = false;
    bool m_dirty = false;
};
