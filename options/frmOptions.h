#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// "Kestrel Options": the one place to set the program up. It shows the
// in-memory configuration on six tabs, checks what the user typed and, on
// Apply, copies it back and hands it to the windows that use it. Nothing is
// written to the settings store here; that happens at shutdown.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    enum Tab { General, Weather, Satellite, DxCluster, AutoRecording, Statistics };

    explicit frmOptions(QWidget *parent = nullptr);

    // Shows the dialog modally over the main window on the given tab.
    static void showFor(QWidget *owner, Tab tab = General);

    // Apply steps 1 to 12; false (and the dialog left as it is) when a field
    // was rejected.
    bool Apply();
    bool validationFailed() const { return m_validationFailed; }

    QTabWidget *tabOptions = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;

    // General
    QCheckBox *chkIcons = nullptr;
    QCheckBox *chkAutoSave = nullptr;
    QCheckBox *chkPHGRNG = nullptr;
    QCheckBox *chkDisplayErrors = nullptr;
    QCheckBox *chkDebug = nullptr;
    QRadioButton *optDistKm = nullptr;
    QRadioButton *optDistMiles = nullptr;
    QLineEdit *txtUIDirectory = nullptr;
    QPushButton *cmdUIPath = nullptr;
    QPushButton *cmdStation = nullptr;  // the host's own Station window, when it has one
    QCheckBox *chkPreload = nullptr;
    QLineEdit *txtCapturePath = nullptr;
    QPushButton *cdmCapturepath = nullptr;
    QCheckBox *chkAutoSaveCapture = nullptr;

    // Weather
    QRadioButton *optCentigrade = nullptr;
    QRadioButton *optFarenhight = nullptr;
    QSpinBox *txtTmpMin = nullptr, *txtTmpMax = nullptr;
    QSpinBox *txtHumMin = nullptr, *txtHumMax = nullptr;
    QSpinBox *txtWindMin = nullptr, *txtWindMax = nullptr;
    QSpinBox *txtPressMin = nullptr, *txtPressMax = nullptr;
    QSpinBox *txtRainMin = nullptr, *txtRainMax = nullptr;
    QCheckBox *chkTempAuto = nullptr, *chkHumAuto = nullptr, *chkWindAuto = nullptr, *chkPressAuto = nullptr,
              *chkRainAuto = nullptr;
    QCheckBox *chkWxToolbar = nullptr;

    // Satellite
    QLineEdit *txtSatLocation = nullptr;
    QLineEdit *txtLatitude = nullptr;
    QLineEdit *txtLongitude = nullptr;
    QLineEdit *txtHeight = nullptr;
    QLineEdit *txtLocator = nullptr;
    QLineEdit *txtSatUpdate = nullptr;
    QComboBox *cmbTimezones = nullptr;
    QCheckBox *chkDaylightSaving = nullptr;
    QCheckBox *chkAutoAdjust = nullptr;
    QCheckBox *chkSatsAsPics = nullptr;
    QComboBox *cmbSecondObs = nullptr;
    QLineEdit *txtSecondName = nullptr;
    QLineEdit *txtSecondLat = nullptr;
    QLineEdit *txtSecondLong = nullptr;
    QLineEdit *txtSecondHeight = nullptr;
    QCheckBox *chkEnableSecond = nullptr;

    // DX Cluster
    QLineEdit *txtExpire = nullptr;
    QCheckBox *chkAllowSpotNotification = nullptr;
    QCheckBox *chkAllCalls = nullptr;
    QCheckBox *chkHighlightNew = nullptr;
    QCheckBox *chkPlotOnMap = nullptr;
    QTreeWidget *lstBands = nullptr;
    QCheckBox *chkAllowEdit = nullptr;
    QPushButton *cmdReset = nullptr;

    // Auto Recording
    QTreeWidget *lstAutoRecord = nullptr;
    QLineEdit *txtCallsign = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDelete = nullptr;

    // Statistics
    QLineEdit *txtSample = nullptr;
    QLineEdit *txtLow = nullptr, *txtMed = nullptr, *txtHign = nullptr;
    QFrame *picLowColour = nullptr, *picMedColour = nullptr, *picHighColour = nullptr;
    QPushButton *cmdColour1 = nullptr, *cmdColour2 = nullptr, *cmdColour3 = nullptr;

    // The row of the band list the editor opens over (tests call it as a
    // click would).
    void editBand(QTreeWidgetItem *item);
    // Where the tick box of a band row is drawn, in viewport coordinates: a
    // click there ticks the band rather than editing it.
    QRect bandCheckRect(QTreeWidgetItem *item) const;
    // "Leaving" the expiry field: out-of-range or empty becomes "0".
    void txtExpire_LostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // frmOptionsPages.cpp: the six tabs.
    QWidget *buildGeneral();
    QWidget *buildWeather();
    QWidget *buildSatellite();
    QWidget *buildDxCluster();
    QWidget *buildAutoRecording();
    QWidget *buildStatistics();
    void buildButtons();

    // frmOptions.cpp: loading, changes, buttons and lists.
    void Form_Load();
    void connectChanges();
    void enableApply();
    void fillBands();
    void fillAutoRecord();
    void addAutoRecordRow(const QString &callsign, bool recording);
    void cmdUIPath_Click();
    void cdmCapturepath_Click();
    void pickColour(QFrame *swatch);
    void cmdReset_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void sortAutoRecord(int column);
    void cmbSecondObs_Click(int index);
    void cmdOK_Click();

    // frmOptionsApply.cpp
    bool validatePositions();
    struct Numbers;
    bool readNumbers(Numbers *numbers);
    void rejectField(QWidget *field, const QString &message);
    void applyToDxMonitor();
    // frmOptionsBands.cpp
    void applyBands();
    void bandRowReleased(QMouseEvent *event);

    bool m_validationFailed = false;
    bool m_loading = false;
    Qt::SortOrder m_autoRecordOrder = Qt::DescendingOrder;
    int m_autoRecordSortColumn = -1;
};
