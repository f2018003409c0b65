#include "options/frmOptions.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/HostApplication.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "dx/ObserverLocations.h"
#include "options/ColourValue.h"
#include "options/HostFolderFiles.h"
#include "options/NumberText.h"
#include "options/NumericKeyFilter.h"
#include "options/PositionFormats.h"
#include "options/Callsign.h"
#include "zones/TimeZones.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kCaption = QStringLiteral("Kestrel Options");
const QString kHostFolderTitle = QStringLiteral("Select UIView32 Folder");
const QString kCaptureFolderTitle = QStringLiteral("Select Capture Folder");
const QString kNotHostFolder = QStringLiteral("Please select the directory containing UIView32.exe");
const QString kCallsignTitle = QStringLiteral("Callsign Error");
const QString kBadCallsign = QStringLiteral("Please enter a valid callsign.");
const QString kDuplicateCallsign = QStringLiteral("This callsign already exists in the list.");
const QString kListFull = QStringLiteral("The auto-record list is full: it holds at most %1 callsigns.");
// The settings store keeps AutoLog1 to AutoLog100 and reads no further.
constexpr int kAutoRecordCapacity = 100;

// Names sort as a user expects: without regard to letter case.
class AutoRecordItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

void setSwatch(QFrame *swatch, const QColor &colour)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
    swatch->setProperty("colour", colour);
}

} // namespace

frmOptions::frmOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    tabOptions = new QTabWidget(this);
    tabOptions->setObjectName(QStringLiteral("tabOptions"));
    tabOptions->addTab(buildGeneral(), QStringLiteral("General"));
    tabOptions->addTab(buildWeather(), QStringLiteral("Weather"));
    tabOptions->addTab(buildSatellite(), QStringLiteral("Satellite"));
    tabOptions->addTab(buildDxCluster(), QStringLiteral("DX Cluster"));
    tabOptions->addTab(buildAutoRecording(), QStringLiteral("Auto Recording"));
    tabOptions->addTab(buildStatistics(), QStringLiteral("Statistics"));
    buildButtons();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabOptions, 1);
    layout->addLayout(buttons);

    const QList<QSpinBox *> scales = {txtTmpMin, txtTmpMax, txtHumMin, txtHumMax, txtWindMin,
                                      txtWindMax, txtPressMin, txtPressMax, txtRainMin, txtRainMax};
    for (QSpinBox *scale : scales)
        NumericKeyFilter::install(scale);
    NumericKeyFilter::install(txtExpire);
    NumericKeyFilter::install(txtSample);
    for (QObject *watched :
         std::initializer_list<QObject *>{txtExpire, txtCallsign, lstBands, lstBands->viewport(), lstAutoRecord})
        watched->installEventFilter(this);

    // "Automatic" scales take their two limits out of play.
    const std::pair<QCheckBox *, std::pair<QSpinBox *, QSpinBox *>> automatics[] = {
        {chkTempAuto, {txtTmpMin, txtTmpMax}},   {chkHumAuto, {txtHumMin, txtHumMax}},
        {chkWindAuto, {txtWindMin, txtWindMax}}, {chkPressAuto, {txtPressMin, txtPressMax}},
        {chkRainAuto, {txtRainMin, txtRainMax}},
    };
    for (const auto &[box, limits] : automatics) {
        QSpinBox *low = limits.first;
        QSpinBox *high = limits.second;
        connect(box, &QCheckBox::toggled, this, [low, high](bool on) {
            low->setEnabled(!on);
            high->setEnabled(!on);
        });
    }
    connect(chkAllowSpotNotification, &QCheckBox::toggled, chkAllCalls, &QWidget::setEnabled);
    // With automatic adjustment the daylight box follows the zone picked.
    auto followZone = [this] {
        if (!chkAutoAdjust->isChecked())
            return;
        if (const TimeZoneRecord *zone = timezones().find(cmbTimezones->currentData().toString()))
            chkDaylightSaving->setChecked(zoneClockAt(Clock::instance().now(), *zone).daylight);
    };
    connect(cmbTimezones, qOverload<int>(&QComboBox::activated), this, followZone);
    connect(chkAutoAdjust, &QCheckBox::clicked, this, followZone);

    connect(cmdUIPath, &QPushButton::clicked, this, &frmOptions::cmdUIPath_Click);
    // The locator follows a position the user types (not one loaded).
    for (QLineEdit *position : {txtLatitude, txtLongitude})
        connect(position, &QLineEdit::textEdited, this, [this] {
            QString lat = txtLatitude->text(), lon = txtLongitude->text(), spare = lon;
            if (strValidateLatLon(lat, spare, false) != PositionCheck::Ok)
                return;
            spare = lat;
            if (strValidateLatLon(lon, spare, true) != PositionCheck::Ok)
                return;
            txtLocator->setText(maidenheadLocator(sConvertPos(lat) / 60.0, sConvertPos(lon) / 60.0));
        });
    connect(cmdStation, &QPushButton::clicked, this, [] {
        if (HostApplication *host = shared().host)
            host->showStationSetup();
    });
    cmdStation->setEnabled(shared().host && shared().host->hasSetupWindows());
    connect(cdmCapturepath, &QPushButton::clicked, this, &frmOptions::cdmCapturepath_Click);
    connect(cmdColour1, &QPushButton::clicked, this, [this] { pickColour(picLowColour); });
    connect(cmdColour2, &QPushButton::clicked, this, [this] { pickColour(picMedColour); });
    connect(cmdColour3, &QPushButton::clicked, this, [this] { pickColour(picHighColour); });
    connect(cmdReset, &QPushButton::clicked, this, &frmOptions::cmdReset_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmOptions::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmOptions::cmdDelete_Click);
    connect(lstAutoRecord->header(), &QHeaderView::sectionClicked, this, &frmOptions::sortAutoRecord);
    connect(cmbSecondObs, qOverload<int>(&QComboBox::activated), this, &frmOptions::cmbSecondObs_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::Apply);

    Form_Load();
    connectChanges();
    resize(sizeHint().expandedTo(QSize(640, 500)));
}

void frmOptions::showFor(QWidget *owner, Tab tab)
{
    frmOptions dialog(owner);
    dialog.tabOptions->setCurrentIndex(tab);
    CentreOnMain(&dialog);
    dialog.exec();
}

void frmOptions::Form_Load()
{
    m_loading = true;
    const Configuration &c = config();

    // 1. Every control from its setting.
    chkIcons->setChecked(c.aprsIcons);
    chkAutoSave->setChecked(c.autoSave);
    chkPHGRNG->setChecked(c.plotPhg);
    chkDebug->setChecked(c.debugLogging);
    optDistMiles->setChecked(c.miles);
    optDistKm->setChecked(!c.miles);
    txtUIDirectory->setText(c.hostFolder);
    chkPreload->setChecked(c.preload);
    txtCapturePath->setText(c.captureFolder);
    chkAutoSaveCapture->setChecked(c.captureAuto);

    optCentigrade->setChecked(c.centigrade);
    optFarenhight->setChecked(!c.centigrade);
    const std::pair<QSpinBox *, qint16> limits[] = {
        {txtTmpMin, c.tempMin},   {txtTmpMax, c.tempMax},   {txtHumMin, c.humidityMin},
        {txtHumMax, c.humidityMax}, {txtWindMin, c.windMin}, {txtWindMax, c.windMax},
        {txtPressMin, c.pressMin}, {txtPressMax, c.pressMax}, {txtRainMin, c.rainMin},
        {txtRainMax, c.rainMax},
    };
    for (const auto &[spin, value] : limits)
        spin->setValue(value);
    chkTempAuto->setChecked(c.tempAuto);
    chkHumAuto->setChecked(c.humidityAuto);
    chkWindAuto->setChecked(c.windAuto);
    chkPressAuto->setChecked(c.pressureAuto);
    chkRainAuto->setChecked(c.rainAuto);
    chkWxToolbar->setChecked(c.wxToolbar);
    // The temperature scale is in the unit shown: switching the unit
    // converts it, so the lines stay on the chart.
    connect(optFarenhight, &QRadioButton::toggled, this, [this](bool fahrenheit) {
        for (QSpinBox *limit : {txtTmpMin, txtTmpMax}) {
            const double value = limit->value();
            limit->setValue(int(std::lround(fahrenheit ? value * 9 / 5 + 32 : (value - 32) * 5 / 9)));
        }
    });

    txtSatLocation->setText(c.observer);
    txtHeight->setText(QString::number(c.height));
    txtLocator->setText(c.locator);
    txtSatUpdate->setText(QString::number(c.satelliteInterval));
    chkDaylightSaving->setChecked(c.daylightSaving);
    chkAutoAdjust->setChecked(c.winAdjust);
    chkSatsAsPics->setChecked(c.satelliteIcons);
    txtSecondName->setText(c.secondLocation);
    txtSecondHeight->setText(QString::number(c.secondHeight));
    chkEnableSecond->setChecked(c.secondUsed);

    txtExpire->setText(QString::number(c.dxExpire));
    chkAllowSpotNotification->setChecked(c.dxNotify);
    chkAllCalls->setChecked(c.dxAllCalls);
    chkAllCalls->setEnabled(c.dxNotify);
    chkHighlightNew->setChecked(c.dxHighlight);
    chkPlotOnMap->setChecked(c.dxPlot);

    txtSample->setText(QString::number(c.statisticsSample));
    txtLow->setText(QString::number(c.lowCount));
    txtMed->setText(QString::number(c.medCount));
    txtHign->setText(QString::number(c.highCount));
    setSwatch(picLowColour, colourFromValue(c.lowColour));
    setSwatch(picMedColour, colourFromValue(c.medColour));
    setSwatch(picHighColour, colourFromValue(c.highColour));

    // 2. The auto-record list.
    fillAutoRecord();

    // 3. The zones; the chosen one, else the first.
    cmbTimezones->clear();
    for (const TimeZoneRecord &zone : timezones().zones())
        cmbTimezones->addItem(zone.displayName, zone.standardName);
    const int chosen = cmbTimezones->findData(c.timezone);
    cmbTimezones->setCurrentIndex(chosen >= 0 ? chosen : 0);

    // 4. Both observers' positions.
    QString lat, lon;
    FormatLatLon(c.latitude * 60.0f, c.longitude * 60.0f, &lat, &lon);
    txtLatitude->setText(lat);
    txtLongitude->setText(lon);
    FormatLatLon(c.secondLatitude * 60.0f, c.secondLongitude * 60.0f, &lat, &lon);
    txtSecondLat->setText(lat);
    txtSecondLong->setText(lon);

    // 5. The bands.
    fillBands();

    // 6. The known places for the second observer.
    cmbSecondObs->clear();
    const QList<ObserverLocation> &places = observerLocations().entries();
    for (int i = 0; i < places.size(); ++i) {
        const ObserverLocation &place = places[i];
        if (place.code.isEmpty() && place.name.isEmpty())
            break;
        cmbSecondObs->addItem(place.code + QStringLiteral("  ") + place.name, i);
    }
    cmbSecondObs->setCurrentIndex(-1);

    // 7.
    cmdApply->setEnabled(false);
    m_loading = false;
}

void frmOptions::connectChanges()
{
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        if (edit != txtCallsign)
            connect(edit, &QLineEdit::textChanged, this, &frmOptions::enableApply);
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button))
            connect(button, &QAbstractButton::toggled, this, &frmOptions::enableApply);
    for (QSpinBox *spin : findChildren<QSpinBox *>())
        connect(spin, &QSpinBox::valueChanged, this, &frmOptions::enableApply);
    connect(cmbTimezones, &QComboBox::currentIndexChanged, this, &frmOptions::enableApply);
    for (QTreeWidget *list : {lstBands, lstAutoRecord})
        connect(list, &QTreeWidget::itemChanged, this, &frmOptions::enableApply);
}

void frmOptions::enableApply()
{
    if (!m_loading)
        cmdApply->setEnabled(true);
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtExpire && event->type() == QEvent::FocusOut) {
        txtExpire_LostFocus();
    } else if (watched == lstBands->viewport() && event->type() == QEvent::MouseButtonRelease) {
        bandRowReleased(static_cast<QMouseEvent *>(event));
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        // Enter in the callsign field adds it rather than closing the dialog.
        if (watched == txtCallsign && enter) {
            cmdAdd_Click();
            return true;
        }
        if (watched == lstBands && (key == Qt::Key_F2 || enter) && chkAllowEdit->isChecked()
            && lstBands->currentItem()) {
            editBand(lstBands->currentItem());
            return true;
        }
        if (watched == lstAutoRecord && key == Qt::Key_Delete) {
            cmdDelete_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::txtExpire_LostFocus()
{
    const QString text = txtExpire->text();
    const double value = NumberText::leadingNumber(text);
    if (text.trimmed().isEmpty() || value < 0 || value > 120)
        txtExpire->setText(QStringLiteral("0"));
}

void frmOptions::fillAutoRecord()
{
    lstAutoRecord->clear();
    for (const cAutoRecord &entry : shared().autoRecords.entries())
        addAutoRecordRow(entry.Callsign, entry.Recording);
}

void frmOptions::addAutoRecordRow(const QString &callsign, bool recording)
{
    auto *item = new AutoRecordItem(lstAutoRecord, {callsign, stationName(txtUIDirectory->text().trimmed(), callsign)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, recording ? Qt::Checked : Qt::Unchecked);
}

void frmOptions::cmdUIPath_Click()
{
    QString folder = Prompts::instance().chooseFolder(kHostFolderTitle, txtUIDirectory->text());
    if (folder.isEmpty())
        return;
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    if (CheckUIPath(folder))
        txtUIDirectory->setText(folder);
    else
        Prompts::instance().message(kNotHostFolder, QStringLiteral("Error"), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
}

void frmOptions::cdmCapturepath_Click()
{
    // Cancelling keeps the folder that was there.
    const QString folder = Prompts::instance().chooseFolder(kCaptureFolderTitle, txtCapturePath->text());
    if (!folder.isEmpty())
        txtCapturePath->setText(folder);
}

void frmOptions::pickColour(QFrame *swatch)
{
    const QColor start = swatch->property("colour").value<QColor>();
    const QColor picked = Prompts::instance().chooseColour(start, QStringLiteral("Colour"));
    if (!picked.isValid())
        return;
    setSwatch(swatch, picked);
    enableApply();
}

void frmOptions::cmdAdd_Click()
{
    Prompts &prompts = Prompts::instance();
    const QString callsign = txtCallsign->text().trimmed().toUpper();
    if (callsign.isEmpty() || !ValidateCallsign(callsign)) {
        prompts.message(kBadCallsign, kCallsignTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return;
    }
    for (int i = 0; i < lstAutoRecord->topLevelItemCount(); ++i)
        if (lstAutoRecord->topLevelItem(i)->text(0).compare(callsign, Qt::CaseInsensitive) == 0) {
            prompts.message(kDuplicateCallsign, kCallsignTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
            return;
        }
    if (lstAutoRecord->topLevelItemCount() >= kAutoRecordCapacity) {
        prompts.message(kListFull.arg(kAutoRecordCapacity), kCallsignTitle, Prompts::Buttons::Ok,
                        Prompts::Icon::Exclamation);
        return;
    }
    addAutoRecordRow(callsign, true);
    txtCallsign->clear();
    enableApply();
}

void frmOptions::cmdDelete_Click()
{
    QTreeWidgetItem *item = lstAutoRecord->currentItem();
    if (!item || !item->isSelected())
        return;
    delete item;
    enableApply();
}

void frmOptions::sortAutoRecord(int column)
{
    m_autoRecordOrder = m_autoRecordOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_autoRecordSortColumn = column;
    lstAutoRecord->sortItems(column, m_autoRecordOrder);
    lstAutoRecord->header()->setSortIndicatorShown(true);
    lstAutoRecord->header()->setSortIndicator(column, m_autoRecordOrder);
    enableApply();
}

void frmOptions::cmbSecondObs_Click(int index)
{
    const int entry = cmbSecondObs->itemData(index).toInt();
    const QList<ObserverLocation> &places = observerLocations().entries();
    if (index < 0 || entry < 0 || entry >= places.size())
        return;
    const ObserverLocation &place = places[entry];
    QString lat, lon;
    // The places file counts longitude west-positive.
    FormatLatLon(float(place.latitude * 60.0), float(place.longitude * -60.0), &lat, &lon);
    txtSecondLat->setText(lat);
    txtSecondLong->setText(lon);
    txtSecondName->setText(place.name);
    txtSecondHeight->setText(QStringLiteral("0"));
}

void frmOptions::cmdOK_Click()
{
    if (!CheckUIPath(txtUIDirectory->text().trimmed())) {
        Prompts::instance().message(kNotHostFolder, QStringLiteral("Error"), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        tabOptions->setCurrentIndex(General);
        txtUIDirectory->setFocus();
        return;
    }
    m_validationFailed = false;
    if (cmdApply->isEnabled())
        Apply();
    if (!m_validationFailed)
        accept();
}
