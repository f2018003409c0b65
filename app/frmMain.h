#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <functional>

#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/DetachedHost.h"
#include "core/MainWindowPort.h"
#include "satellites/SatelliteChoices.h"

class ActiveWindowKeeper;
class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QSystemTrayIcon;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QToolBar;

// The multiple-document frame: toolbar, status bar, window list, window
// factory, the link to the host program and the shutdown sequence.
class frmMain : public QMainWindow, public MainWindowPort
{
    Q_OBJECT
public:
    // startLoading: start the 100 ms loading timer (tests run the sequence by hand).
    explicit frmMain(bool startLoading = true, QWidget *parent = nullptr);
    ~frmMain() override;

    // Window factory: kind 1 station list, 2 weather, 3 capture, 4 statistics.
    void OpenDataWindow(qint16 kind, const QString &fileName);
    // A new capture window, counted, captioned, shown and listed, still empty.
    QWidget *openCaptureWindow() override;
    void UpdateWindowList(const QString &strTitle, bool bAction);
    void SetCheckedWindow(const QString &strTitle, bool bState);
    void mnuFileOpen_Click();

    // Runs the loading sequence now (the loading timer's first tick does it).
    void runLoadingSequence();
    bool loadingDone() const { return m_loadingDone; }

    // Adds a window as a child (hidden or shown) and to the loaded windows.
    QMdiSubWindow *addChild(QWidget *window, const QString &tag, bool show);
    // The inner window of the active child, or null.
    QWidget *activeChild() const override;
    QMdiArea *mdiArea() const { return m_mdi; }
    // What a first start opens at: both toolbar rows whole, and a list below.
    QSize firstStartSize() const;

    QAction *tool(const QString &id) const { return m_tools.value(id); }
    QAction *tool(MainTool id) const override { return m_toolsById[int(id)]; }
    QComboBox *weatherDates() const override { return combo(QStringLiteral("ID_WxDates")); }
    QWidget *dialogParent() override { return this; }
    QComboBox *combo(const QString &id) const { return m_combos.value(id); }
    QMenu *windowMenu() const { return m_windowMenu; }
    int windowListCount() const { return m_windowListCount; }
    QString statusText() const override;
    void setStatusText(const QString &text) override;
    // True while the indicator of panel 4 (frames) or 5 (DX spots) is lit.
    bool frameIndicatorOn() const { return m_frameLit; }
    void setFrameIndicator(bool on) override { setIndicator(4, on); }
    bool dxIndicatorOn() const { return m_dxLit; }

    // The host program's objects, held from loading step 12 to shutdown.
    HostApplication *host() const { return m_host; }
    void attachHost(HostApplication *host);
    bool openLink(QString *errorText);

    // The hidden link field: each new text is one received frame.
    QLineEdit *linkField() const { return m_text1; }
    // A text as if the link had received it: shown in the link field, then
    // handed to the frame handler. The host's own frames go to the intake
    // directly.
    void receiveLinkText(const QString &text);
    // What the test command and a frame of no host run; the intake lights
    // the frame indicator itself.
    void setFrameHandler(std::function<void(const QString &)> handler) { m_frameHandler = std::move(handler); }
    // The link panel's test command: injects the built-in sample frame.
    void injectTestFrame();
    static QString sampleFrame();

    // The one-only windows, once the loading sequence has made them.
    QWidget *dxMonitor() const { return m_dxMonitor; }
    QWidget *satelliteStatus() const { return m_satelliteStatus; }
    QWidget *terminal() const { return m_terminal; }
    QWidget *liveStatistics() const { return m_liveStatistics; }

    int stationListsOpened() const { return m_stationLists; }

    // The station lists' font, kept across runs (Kestrel settings, section
    // "Station List", keys "Font" and "Font Size").
    void readListFont();
    void writeListFont() const;
    // The satellites chosen and how their views draw, kept across runs.
    SatelliteChoices satelliteChoices() const;
    void restoreSatelliteChoices();
    int weatherWindowsOpened() const { return m_weatherWindows; }
    // Capture windows open now; the newest one's caption carries this number.
    int capturesOpened() const { return m_captures; }

    // A one-only window (terminal, DX monitor, satellite status, live
    // statistics): its close box hides it, releases its tool and takes its
    // window list entry away; it unloads only with the program.
    void keepOneOnly(QWidget *window, const QString &toolId, const QString &entry);

    // The toolbar's context menu: the bars and panels, and "Host Map".
    QMenu *createPopupMenu() override;

public slots:
    void toolClicked(QAction *tool);

signals:
    // The loading sequence has run to its end.
    void loaded();
    // The user's close was accepted: the windows and the host go next.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class LoadingSequence;

    void buildToolbar();
    void buildStatusBar();
    void buildLinkPanel();
    QAction *makeTool(const struct ToolDefinition &definition);
    void comboChanged(const QString &id);
    void setIndicator(int panel, bool on);
    void showOneOnly(QWidget *window, const QString &entry, bool on);

    // Arranging the child windows (frmMainArrange.cpp).
    QList<QMdiSubWindow *> arrangedWindows() const;
    QSize usefulChildSize() const;
    int cascadeStep() const;
    QPoint cascadePlace(int index, QSize size) const;
    // Horizontal: one above the other; vertical: side by side.
    void tileWindows(Qt::Orientation bands);
    void cascadeWindows();
    void arrangeIcons();
    // A window shown for the first time: two thirds of the frame, cascaded.
    void placeNewChild(QMdiSubWindow *sub);
    void listWindow(QWidget *window, const QString &caption);
    bool captureNumberInUse(int number) const;
    // The window list's name for a child window.
    QString windowListEntry(QWidget *window) const;
    void focusWindowListEntry(const QString &id);
    void showHelp(bool search);
    void printActiveWindow();
    void previewActiveWindow();
    static void printWindow(QWidget *window, QPrinter &printer);
    void saveActiveWindow();
    void satelliteDisplayChanged(const QString &id);
    void applyShowHide(bool on);

    // Host events.
    void onDxSpot(const QString &strDxSpot, const QString &strCallsign, const QString &strFreq,
                  qint16 intLat, qint16 intLong, qint16 intBearing, qint16 intDistance);
    void onHostClosing();
    void onHomeChanged(const QString &callsign, double latitude, double longitude);
    void showUnreadMessages(int count);
    void notifyMessage(const QString &from, const QString &text);
    void onMapChanged();

    // Shutdown.
    bool confirmMainListClose();
    void shutdownHost();

    QMdiArea *m_mdi = nullptr;
    ActiveWindowKeeper *m_activeKeeper = nullptr;
    QToolBar *m_toolbar = nullptr;
    QMenu *m_windowMenu = nullptr;
    QHash<QString, QAction *> m_tools;
    QHash<QString, QComboBox *> m_combos;
    QAction *m_toolsById[int(MainTool::Count)] = {};
    QLabel *m_panels[5] = {};
    QLabel *m_messagesPanel = nullptr;  // "2 unread messages"
    QSystemTrayIcon *m_tray = nullptr;  // made for the first notification, where a tray exists
    QPixmap m_ledOff;
    QPixmap m_ledOn;
    QPixmap m_checkPicture;
    QDockWidget *m_linkPanel = nullptr;
    QLineEdit *m_text1 = nullptr;
    QTimer m_tmrLoad;

    QPointer<HostApplication> m_host;
    QPointer<HostMap> m_map;
    std::function<void(const QString &)> m_frameHandler;
    DetachedHost m_detachedHost;

    QPointer<QWidget> m_dxMonitor;
    QPointer<QWidget> m_satelliteStatus;
    QPointer<QWidget> m_terminal;
    QPointer<QWidget> m_liveStatistics;
    QPointer<QWidget> m_stationsMonitor;
    struct OneOnly
    {
        QPointer<QWidget> frame;
        QString tool;
        QString entry;
    };
    QList<OneOnly> m_oneOnly;

    QList<SatelliteChoices::Pick> m_unplacedSatellites;  // chosen, but not in this run's element file
    QString m_listFont;
    int m_listFontSize = 0;
    qint16 m_stationLists = 0;
    qint16 m_weatherWindows = 0;
    qint16 m_captures = 0;
    qint16 m_windowListCount = 0;
    bool m_updatingWindowList = false;
    bool m_frameLit = false;
    bool m_dxLit = false;
    bool m_loadingDone = false;
    bool m_closing = false;
};
