#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

#include "core/WindowInterfaces.h"
#include "dx/DxMonitor.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class DxTabStrip;
class QTimer;
class QTreeView;
class HostApplication;

// The DX cluster monitor: one tab per band with the spots heard on it, a tab
// of notified spots, and a Settings tab with the options and the country
// prefix list whose ticks choose what is notified. Spots expire after a set
// number of minutes. Loaded hidden at start; it cannot be closed by the user
// and unloads with the program, writing the band table back.
class frmDx : public QWidget, public DxMonitorWindow
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("DX Stations Monitor");
    static inline const QString SettingsTab = QStringLiteral("Settings");
    static inline const QString NotifiedTab = QStringLiteral("Notified DX");
    // Notified lines kept; older ones leave the top of the list.
    static constexpr int KeptNotifiedLines = 2000;
    static constexpr int ExpiryInterval = 60000;
    static constexpr int MaxExpire = 120;

    explicit frmDx(QWidget *parent = nullptr);
    ~frmDx() override;

    void AddDxSpot(const QString &strDxSpot, const QString &strCallsign, const QString &strFreq,
                   qint16 intLat, qint16 intLong, qint16 intBearing, qint16 intDistance) override;
    void PlotDxOnMap() override;
    void SaveDxList() override;
    // The options' distance unit changed: spots and headings follow it.
    void unitsChanged() override;

    // Loads prefix.txt from the host folder into the prefix list and index,
    // with a progress window whose Cancel switches notification off.
    void LoadDxSpots();
    // The countries ticked for notification, kept in the settings so that
    // they are ticked again when the prefixes next load.
    static inline const QString NotifiedSection = QStringLiteral("DXSpots");
    static inline const QString NotifiedKey = QStringLiteral("NotifiedCountries");
    void ClearDxSpots();
    // Fills the shared panel for a tab and sets the caption.
    void ShowTab(int index);
    // One pass of the expiry timer.
    void Timer1_Timer();

    // Tabs by caption (letter case ignored), -1 when there is none.
    int tabIndex(const QString &caption) const;
    // 0 none, 1 new spot on the band, 2 new notified spot.
    int tabMark(int index) const;
    // The notified-spots text: its heading, then one line per notified spot.
    QString notifiedText() const;

    DxMonitor &monitor() { return m_monitor; }
    // Wide enough for a spot row and its comment.
    QSize sizeHint() const override { return {860, 420}; }

    DxTabStrip *SSActiveTabs1 = nullptr;
    QPlainTextEdit *txtHeading = nullptr;
    QPlainTextEdit *txtSpots = nullptr;
    QPlainTextEdit *txtSpottedDX = nullptr;
    QGroupBox *frmSettings = nullptr;
    QCheckBox *chkAllowSpotNotification = nullptr;
    QCheckBox *chkIndicate = nullptr;
    QCheckBox *chkPlot = nullptr;
    QLineEdit *txtExpire = nullptr;
    QLineEdit *txtNumSpots = nullptr;
    QTreeView *lstMonitor = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The Settings tab's page: the settings frame above the prefix list.
    QWidget *m_settingsPage = nullptr;
    void buildTabs();
    QWidget *buildSettings();
    void createBandTabs();
    int ensureBandTab(const QString &band);
    void tabSelected(int index);
    void removeCloseCommand();

    void notificationToggled(bool on);
    void plotToggled(bool on);
    void expireEdited();
    void prefixHeaderClicked(int section);
    void appendNotified(const NotifiedSpot &spot);
    void placeOnMap(const DxStations &spot);
    void removeFromMap(const QList<DxStations> &expired);
    void setTotal();
    void showNotifiedBox();
    void queueRefresh();
    // Adds or rewrites the one row of a spot on the band tab shown, so that
    // a spot costs the same however many are listed; false when the tab
    // must be drawn whole instead.
    bool showSpotInPlace(const SpotOutcome &outcome, const DxStations *record);
    void showBandCount();
    static HostApplication *host();

    DxMonitor m_monitor;
    QString m_notifiedHeading;  // its lines, or empty while notification is off
    QList<NotifiedSpot> m_notifiedSpots;
    // The unit the spots' distances are in: the options' when they arrived.
    bool m_distanceInMiles = true;
    Qt::SortOrder m_prefixOrder = Qt::DescendingOrder;
    // What a hidden window would have shown waits until it is shown: laying
    // out text nobody sees is most of the cost of a spot.
    bool m_spotsStale = false;
    // The band tab drawn last and the positions in the collection of its rows.
    QString m_shownBand;
    QList<qsizetype> m_shownRecords;
    bool m_notifiedStale = false;
    bool m_totalStale = false;
    bool m_refreshQueued = false;
    bool m_loadingPrefixes = false;
    void rememberTicks();
    void restoreTicks();
    bool m_unloaded = false;
};
