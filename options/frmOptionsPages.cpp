// The six tabs of the options dialog and its buttons.
#include "options/frmOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QCheckBox(caption, parent), name);
}

QLineEdit *field(QWidget *parent, const char *name)
{
    return named(new QLineEdit(parent), name);
}

QGroupBox *frame(QWidget *parent, const QString &caption, QLayout *layout)
{
    auto *box = new QGroupBox(caption, parent);
    box->setLayout(layout);
    return box;
}

QGroupBox *frameOf(QWidget *parent, const QString &caption, std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return frame(parent, caption, layout);
}

QSpinBox *scaleField(QWidget *parent, const char *name)
{
    auto *spin = named(new QSpinBox(parent), name);
    spin->setRange(std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    spin->setAccelerated(true);
    spin->setMinimumWidth(80);
    return spin;
}

// A short numeric field with its unit after it.
QWidget *withUnit(QWidget *parent, QLineEdit *edit, const QString &unit)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    edit->setMaximumWidth(70);
    layout->addWidget(edit);
    auto *label = new QLabel(unit, row);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addStretch();
    return row;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QWidget *frmOptions::buildGeneral()
{
    auto *page = new QWidget;
    chkIcons = check(page, "chkIcons", QStringLiteral("Display Station Symbol"));
    chkAutoSave = check(page, "chkAutoSave", QStringLiteral("Auto Save Station List"));
    chkPHGRNG = check(page, "chkPHGRNG", QStringLiteral("Plot PHG and RNG circles"));
    chkDisplayErrors = check(page, "chkDisplayErrors", QStringLiteral("Display Errors"));
    chkDebug = check(page, "chkDebug", QStringLiteral("Enabled"));
    chkDebug->setToolTip(QStringLiteral("Append every received frame, and every stall of Kestrel, to Debug.txt in the data folder"));
    optDistKm = named(new QRadioButton(QStringLiteral("Kilometers"), page), "optDistKm");
    optDistMiles = named(new QRadioButton(QStringLiteral("Miles"), page), "optDistMiles");
    chkPreload = check(page, "chkPreload", QStringLiteral("Preload Stations from UI View"));

    txtUIDirectory = field(page, "txtUIDirectory");
    cmdUIPath = named(new QPushButton(QStringLiteral("..."), page), "cmdUIPath");
    cmdUIPath->setToolTip(QStringLiteral("Select UIView32 Folder"));
    cmdUIPath->setAccessibleName(QStringLiteral("Select UIView32 Folder"));
    txtCapturePath = field(page, "txtCapturePath");
    cdmCapturepath = named(new QPushButton(QStringLiteral("..."), page), "cdmCapturepath");
    cdmCapturepath->setToolTip(QStringLiteral("Select Capture Folder"));
    cdmCapturepath->setAccessibleName(QStringLiteral("Select Capture Folder"));
    chkAutoSaveCapture = check(page, "chkAutoSaveCapture", QStringLiteral("Auto Save Captured Maps"));
    for (QPushButton *browse : {cmdUIPath, cdmCapturepath})
        browse->setFixedWidth(36);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(txtUIDirectory, 1);
    folderRow->addWidget(cmdUIPath);
    cmdStation = named(new QPushButton(QStringLiteral("&Station..."), page), "cmdStation");
    cmdStation->setToolTip(QStringLiteral("Set up your callsign, position, symbol and beacon"));
    folderRow->addWidget(cmdStation);
    auto *captureLayout = new QGridLayout;
    captureLayout->addWidget(txtCapturePath, 0, 0);
    captureLayout->addWidget(cdmCapturepath, 0, 1);
    captureLayout->addWidget(chkAutoSaveCapture, 1, 0, 1, 2);

    auto *distance = new QHBoxLayout;
    distance->addWidget(optDistKm);
    distance->addWidget(optDistMiles);
    distance->addStretch();
    auto *debug = new QHBoxLayout;
    debug->addWidget(chkDisplayErrors);
    debug->addWidget(chkDebug);
    debug->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addWidget(frameOf(page, QStringLiteral("Station List"), {chkIcons}), 0, 0);
    grid->addWidget(frameOf(page, QStringLiteral("Shutdown"), {chkAutoSave}), 0, 1);
    grid->addWidget(frameOf(page, QStringLiteral("Station Plotting"), {chkPHGRNG}), 1, 0);
    grid->addWidget(frameOf(page, QStringLiteral("Startup"), {chkPreload}), 1, 1);
    grid->addWidget(frame(page, QStringLiteral("Display Distances in"), distance), 2, 0);
    grid->addWidget(frame(page, QStringLiteral("Debug"), debug), 2, 1);
    grid->addWidget(frame(page, QStringLiteral("UIView32 Directory"), folderRow), 3, 0, 1, 2);
    grid->addWidget(frame(page, QStringLiteral("Save Capture Files to"), captureLayout), 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget *frmOptions::buildWeather()
{
    auto *page = new QWidget;
    optCentigrade = named(new QRadioButton(QStringLiteral("Centigrade"), page), "optCentigrade");
    optFarenhight = named(new QRadioButton(QStringLiteral("Fahrenheit"), page), "optFarenhight");
    chkWxToolbar = check(page, "chkWxToolbar", QStringLiteral("Display Wx Chart Toolbar"));

    // Each limit with the unit its chart is drawn in beside it; the
    // temperature's follows the unit chosen above.
    QList<QLabel *> temperatureUnits;
    auto scale = [page](const QString &caption, QSpinBox *&min, const char *minName, QSpinBox *&max,
                        const char *maxName, QCheckBox *&automatic, const char *autoName, const QString &unit,
                        QList<QLabel *> *unitLabels = nullptr) {
        min = scaleField(page, minName);
        max = scaleField(page, maxName);
        automatic = check(page, autoName, QStringLiteral("Automatic"));
        auto *layout = new QGridLayout;
        layout->addWidget(buddyLabel(QStringLiteral("Minimum"), min, page), 0, 0);
        layout->addWidget(min, 0, 1);
        layout->addWidget(buddyLabel(QStringLiteral("Maximum"), max, page), 1, 0);
        layout->addWidget(max, 1, 1);
        for (int row : {0, 1}) {
            auto *label = new QLabel(unit, page);
            label->setObjectName(QString::fromLatin1(row == 0 ? minName : maxName) + QStringLiteral("Unit"));
            layout->addWidget(label, row, 2);
            if (unitLabels)
                unitLabels->append(label);
        }
        layout->addWidget(automatic, 2, 0, 1, 3);
        return frame(page, caption, layout);
    };

    auto *units = new QHBoxLayout;
    units->addWidget(optCentigrade);
    units->addWidget(optFarenhight);
    units->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addWidget(frame(page, QStringLiteral("Temperature Display"), units), 0, 0, 1, 2);
    grid->addWidget(frameOf(page, QStringLiteral("General Settings"), {chkWxToolbar}), 0, 2);
    grid->addWidget(scale(QStringLiteral("Temperature Scale"), txtTmpMin, "txtTmpMin", txtTmpMax, "txtTmpMax",
                          chkTempAuto, "chkTempAuto", QStringLiteral("\u00b0C"), &temperatureUnits),
                    1, 0);
    grid->addWidget(scale(QStringLiteral("Humidity Scale"), txtHumMin, "txtHumMin", txtHumMax, "txtHumMax",
                          chkHumAuto, "chkHumAuto", QStringLiteral("%")),
                    1, 1);
    grid->addWidget(scale(QStringLiteral("Wind Speed Scale"), txtWindMin, "txtWindMin", txtWindMax, "txtWindMax",
                          chkWindAuto, "chkWindAuto", QStringLiteral("mph")),
                    1, 2);
    grid->addWidget(scale(QStringLiteral("Pressure Scale"), txtPressMin, "txtPressMin", txtPressMax,
                          "txtPressMax", chkPressAuto, "chkPressAuto", QStringLiteral("mb")),
                    2, 0);
    grid->addWidget(scale(QStringLiteral("Rainfall Scale"), txtRainMin, "txtRainMin", txtRainMax, "txtRainMax",
                          chkRainAuto, "chkRainAuto", QStringLiteral("mm")),
                    2, 1);
    grid->setRowStretch(3, 1);
    connect(optFarenhight, &QRadioButton::toggled, page, [temperatureUnits](bool fahrenheit) {
        for (QLabel *label : temperatureUnits)
            label->setText(fahrenheit ? QStringLiteral("\u00b0F") : QStringLiteral("\u00b0C"));
    });
    return page;
}

QWidget *frmOptions::buildSatellite()
{
    auto *page = new QWidget;
    txtSatLocation = field(page, "txtSatLocation");
    txtSatLocation->setToolTip(QStringLiteral("Enter the name of the main station, for plotting on the maps"));
    txtLatitude = field(page, "txtLatitude");
    txtLatitude->setToolTip(QStringLiteral("Enter the latitude of the main station in the format HH.MM.SS (N/S)"));
    txtLongitude = field(page, "txtLongitude");
    txtLongitude->setToolTip(QStringLiteral("Enter the longitude of the main station in the format HH.MMM.SS (E/W)"));
    txtHeight = field(page, "txtHeight");
    txtHeight->setToolTip(QStringLiteral("Enter the height, in meters, of the main main station."));
    txtLocator = field(page, "txtLocator");
    txtLocator->setToolTip(QStringLiteral("Enter the main station locator, this is used for plotting objects."));
    for (QLineEdit *position : {txtLatitude, txtLongitude})
        position->setPlaceholderText(QStringLiteral("or a grid reference, SU 123 456"));

    auto *observer = new QFormLayout;
    observer->addRow(QStringLiteral("Location"), txtSatLocation);
    observer->addRow(QStringLiteral("Latitude"), txtLatitude);
    observer->addRow(QStringLiteral("Longitude"), txtLongitude);
    observer->addRow(QStringLiteral("Height"), withUnit(page, txtHeight, QStringLiteral("metres")));
    observer->addRow(QStringLiteral("Locator"), txtLocator);

    txtSatUpdate = field(page, "txtSatUpdate");
    auto *interval = new QVBoxLayout;
    interval->addWidget(withUnit(page, txtSatUpdate, QStringLiteral("Minutes")));

    cmbTimezones = named(new QComboBox(page), "cmbTimezones");
    cmbTimezones->setMaxVisibleItems(20);
    cmbTimezones->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbTimezones->setMinimumContentsLength(24);
    chkDaylightSaving = check(page, "chkDaylightSaving", QStringLiteral("Daylight Saving"));
    chkAutoAdjust = check(page, "chkAutoAdjust", QStringLiteral("Automatically adjust for daylight saving"));
    chkSatsAsPics = check(page, "chkSatsAsPics", QStringLiteral("Display Satellites as Icons"));

    cmbSecondObs = named(new QComboBox(page), "cmbSecondObs");
    cmbSecondObs->setPlaceholderText(QStringLiteral("Pick a known place..."));
    cmbSecondObs->setMaxVisibleItems(20);
    cmbSecondObs->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbSecondObs->setMinimumContentsLength(20);
    txtSecondName = field(page, "txtSecondName");
    txtSecondLat = field(page, "txtSecondLat");
    txtSecondLong = field(page, "txtSecondLong");
    txtSecondHeight = field(page, "txtSecondHeight");
    chkEnableSecond = check(page, "chkEnableSecond", QStringLiteral("Enable Mutual Calculations"));
    auto *second = new QFormLayout;
    second->addRow(cmbSecondObs);
    second->addRow(QStringLiteral("Location"), txtSecondName);
    second->addRow(QStringLiteral("Latitude"), txtSecondLat);
    second->addRow(QStringLiteral("Longitude"), txtSecondLong);
    second->addRow(QStringLiteral("Height"), withUnit(page, txtSecondHeight, QStringLiteral("metres")));
    second->addRow(chkEnableSecond);

    auto *zone = new QVBoxLayout;
    zone->addWidget(cmbTimezones);
    zone->addWidget(chkDaylightSaving);
    zone->addWidget(chkAutoAdjust);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frame(page, QStringLiteral("Observer"), observer), 0, 0);
    grid->addWidget(frame(page, QStringLiteral("Second Ovserver"), second), 0, 1);
    grid->addWidget(frame(page, QStringLiteral("Timezone"), zone), 1, 0);
    auto *right = new QVBoxLayout;
    right->addWidget(frame(page, QStringLiteral("Update Interval"), interval));
    right->addWidget(frameOf(page, QStringLiteral("Options"), {chkSatsAsPics}));
    grid->addLayout(right, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *frmOptions::buildDxCluster()
{
    auto *page = new QWidget;
    txtExpire = field(page, "txtExpire");
    txtExpire->setToolTip(QStringLiteral("0 to 120 minutes; 0 keeps spots until the program ends"));
    chkAllowSpotNotification = check(page, "chkAllowSpotNotification", QStringLiteral("Allow Spot Notification"));
    chkAllCalls = check(page, "chkAllCalls", QStringLiteral("Select all Callsigns"));
    chkHighlightNew = check(page, "chkHighlightNew", QStringLiteral("Highlight New DX Spots on Tabs"));
    chkPlotOnMap = check(page, "chkPlotOnMap", QStringLiteral("Plot DX Stations on UI-View32 Map"));

    lstBands = named(new QTreeWidget(page), "lstBands");
    lstBands->setHeaderLabels({QStringLiteral("Band Name"), QStringLiteral("Lower"), QStringLiteral("Upper")});
    lstBands->setRootIsDecorated(false);
    lstBands->setUniformRowHeights(true);
    lstBands->setAllColumnsShowFocus(true);
    lstBands->header()->setSectionsMovable(true);
    // Columns as wide as their numbers, so the row editor over a row stays
    // inside the list.
    lstBands->header()->setStretchLastSection(false);
    lstBands->setToolTip(QStringLiteral("Tick the bands whose spots are shown. With band editing on, click a "
                                        "band (or press F2) to change its name and edges."));
    chkAllowEdit = check(page, "chkAllowEdit", QStringLiteral("Enable Band Editing"));
    cmdReset = named(new QPushButton(QStringLiteral("Reset Bands"), page), "cmdReset");

    auto *spots = new QVBoxLayout;
    auto *expireRow = new QHBoxLayout;
    expireRow->addWidget(buddyLabel(QStringLiteral("Expire Spots After"), txtExpire, page));
    expireRow->addWidget(withUnit(page, txtExpire, QStringLiteral("Minutes")), 1);
    spots->addLayout(expireRow);
    spots->addWidget(chkAllowSpotNotification);
    auto *allCalls = new QHBoxLayout;
    allCalls->addSpacing(20);
    allCalls->addWidget(chkAllCalls);
    spots->addLayout(allCalls);
    spots->addWidget(chkHighlightNew);
    spots->addWidget(chkPlotOnMap);
    spots->addStretch();

    auto *bands = new QVBoxLayout;
    bands->addWidget(lstBands, 1);
    auto *bandButtons = new QHBoxLayout;
    bandButtons->addWidget(chkAllowEdit);
    bandButtons->addStretch();
    bandButtons->addWidget(cmdReset);
    bands->addLayout(bandButtons);

    auto *layout = new QHBoxLayout(page);
    auto *left = new QWidget(page);
    left->setLayout(spots);
    layout->addWidget(left);
    layout->addLayout(bands, 1);
    return page;
}

QWidget *frmOptions::buildAutoRecording()
{
    auto *page = new QWidget;
    lstAutoRecord = named(new QTreeWidget(page), "lstAutoRecord");
    lstAutoRecord->setHeaderLabels({QStringLiteral("Callsign"), QStringLiteral("Name")});
    lstAutoRecord->setRootIsDecorated(false);
    lstAutoRecord->setUniformRowHeights(true);
    lstAutoRecord->setAllColumnsShowFocus(true);
    lstAutoRecord->header()->setSectionsClickable(true);
    lstAutoRecord->header()->setSortIndicatorShown(false);
    lstAutoRecord->setColumnWidth(0, 140);
    lstAutoRecord->setToolTip(QStringLiteral("Ticked stations are logged automatically whenever they are heard"));
    txtCallsign = field(page, "txtCallsign");
    txtCallsign->setPlaceholderText(QStringLiteral("Callsign, e.g. G4ABC-9"));
    txtCallsign->setMaxLength(12);
    cmdAdd = named(new QPushButton(QStringLiteral("Add Callsign"), page), "cmdAdd");
    cmdDelete = named(new QPushButton(QStringLiteral("Delete"), page), "cmdDelete");
    cmdAdd->setAutoDefault(false);
    cmdDelete->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(txtCallsign);
    buttons->addWidget(cmdAdd);
    buttons->addStretch();
    buttons->addWidget(cmdDelete);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lstAutoRecord, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *frmOptions::buildStatistics()
{
    auto *page = new QWidget;
    txtSample = field(page, "txtSample");
    txtLow = field(page, "txtLow");
    txtMed = field(page, "txtMed");
    txtHign = field(page, "txtHign");

    auto *sample = new QVBoxLayout;
    sample->addWidget(withUnit(page, txtSample, QStringLiteral("Minutes")));

    auto *activity = new QFormLayout;
    activity->addRow(QStringLiteral("Low Activity"), withUnit(page, txtLow, QStringLiteral("Packets")));
    activity->addRow(QStringLiteral("Med Activity"), withUnit(page, txtMed, QStringLiteral("Packets")));
    activity->addRow(QStringLiteral("High Activity"), withUnit(page, txtHign, QStringLiteral("Packets")));

    auto swatch = [page](const char *name) {
        auto *frame = named(new QFrame(page), name);
        frame->setFrameShape(QFrame::Box);
        frame->setAutoFillBackground(true);
        frame->setFixedSize(48, 22);
        return frame;
    };
    picLowColour = swatch("picLowColour");
    picMedColour = swatch("picMedColour");
    picHighColour = swatch("picHighColour");
    cmdColour1 = named(new QPushButton(QStringLiteral("Colour"), page), "cmdColour1");
    cmdColour2 = named(new QPushButton(QStringLiteral("Colour"), page), "cmdColour2");
    cmdColour3 = named(new QPushButton(QStringLiteral("Colour"), page), "cmdColour3");
    auto *colours = new QGridLayout;
    const QString names[3] = {QStringLiteral("Low Activity"), QStringLiteral("Med Activity"),
                              QStringLiteral("High Activity")};
    QFrame *swatches[3] = {picLowColour, picMedColour, picHighColour};
    QPushButton *buttons[3] = {cmdColour1, cmdColour2, cmdColour3};
    for (int i = 0; i < 3; ++i) {
        colours->addWidget(new QLabel(names[i], page), i, 0);
        colours->addWidget(swatches[i], i, 1);
        colours->addWidget(buttons[i], i, 2);
        buttons[i]->setAccessibleName(names[i] + QStringLiteral(" Colour"));
    }
    colours->setColumnStretch(3, 1);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frame(page, QStringLiteral("Sample Period"), sample), 0, 0);
    grid->addWidget(frame(page, QStringLiteral("Activity"), activity), 1, 0);
    grid->addWidget(frame(page, QStringLiteral("Colours"), colours), 1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

void frmOptions::buildButtons()
{
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdApply = named(new QPushButton(QStringLiteral("&Apply"), this), "cmdApply");
    cmdOK->setDefault(true);
    cmdCancel->setAutoDefault(false);
    cmdApply->setAutoDefault(false);
}
