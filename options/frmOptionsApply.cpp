// Apply: check what the user typed, then copy it into the configuration and
// hand it to the windows and the tracking control that use it.
#include "options/frmOptions.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/HostApplication.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowRegistry.h"
#include "options/ColourValue.h"
#include "options/HostFolderFiles.h"
#include "options/NumberText.h"
#include "options/PositionFormats.h"
#include "satellites/OrbiterControl.h"
#include "satellites/TrackerSettings.h"
#include "zones/TimeZones.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include <cmath>

namespace {

const QString kErrorTitle = QStringLiteral("Error");
const QString kNotANumber = QStringLiteral("The %1 you have entered is not a valid number");
const QString kNotHostFolder = QStringLiteral("Please select the directory containing UIView32.exe");

OrbiterControl *trackingControl()
{
    auto *window = WindowRegistry::instance().first<SatelliteWindow>();
    return window ? window->orbiter() : nullptr;
}

// Sets a check box of another window the way a user's click would, so the
// window runs what its own click runs.
void mirror(QWidget *window, const char *name, bool on)
{
    auto *box = window->findChild<QCheckBox *>(QLatin1String(name));
    if (box && box->isChecked() != on)
        box->click();
}

qint16 hours(qint32 minutes)
{
    qint16 value = 0;
    NumberText::toInt16(minutes / 60.0, &value);
    return value;
}

} // namespace

// The numbers of the dialog, each read and range-checked before anything is
// stored.
struct frmOptions::Numbers
{
    qint16 interval = 1;
    qint16 expire = 0;
    float height = 0;
    qint16 secondHeight = 0;
    qint16 sample = 0;
    qint16 low = 0, med = 0, high = 0;
    qint16 scales[10] = {};
};

void frmOptions::rejectField(QWidget *field, const QString &message)
{
    Prompts::instance().message(message, kErrorTitle, Prompts::Buttons::Ok, Prompts::Icon::Critical);
    m_validationFailed = true;
    for (int i = 0; i < tabOptions->count(); ++i)
        if (tabOptions->widget(i)->isAncestorOf(field))
            tabOptions->setCurrentIndex(i);
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->selectAll();
}

bool frmOptions::validatePositions()
{
    const struct
    {
        QLineEdit *field;
        QLineEdit *partner;
        bool longitude;
        QString message;
    } checks[] = {
        {txtLongitude, txtLatitude, true, QStringLiteral("The Default Observer Longitude you have entered is invalid")},
        {txtLatitude, txtLongitude, false, QStringLiteral("The Default Observer Latitude you have entered is invalid")},
        {txtSecondLong, txtSecondLat, true, QStringLiteral("The second Observer Longitude you have entered is invalid")},
        {txtSecondLat, txtSecondLong, false, QStringLiteral("The second Observer Latitude you have entered is invalid")},
    };
    for (const auto &check : checks) {
        QString field = check.field->text();
        QString partner = check.partner->text();
        const QString result = strValidateLatLon(field, partner, check.longitude);
        if (field != check.field->text())
            check.field->setText(field);
        if (partner != check.partner->text())
            check.partner->setText(partner);
        if (result != PositionCheck::Ok) {
            rejectField(check.field, check.message);
            return false;
        }
    }
    return true;
}

bool frmOptions::readNumbers(Numbers *n)
{
    // Converted strictly: the whole entry must be a number.
    auto strict = [this](QWidget *field, const QString &text, const QString &name, qint16 *out) {
        double value = 0;
        if (NumberText::strictNumber(text, &value) && NumberText::toInt16(value, out))
            return true;
        rejectField(field, kNotANumber.arg(name));
        return false;
    };

    // Every number typed is read whole, alike: "5 packets" is a slip, not 5.
    if (!strict(txtSatUpdate, txtSatUpdate->text(), QStringLiteral("satellite Update Interval"), &n->interval))
        return false;
    // Nothing sensible lies below one minute.
    n->interval = qMax<qint16>(n->interval, 1);

    // Typed and applied without leaving the field, it still gets the leaving rule.
    txtExpire_LostFocus();
    if (!strict(txtExpire, txtExpire->text(), QStringLiteral("spot expiry time"), &n->expire))
        return false;

    double height = 0;
    if (!NumberText::strictNumber(txtHeight->text(), &height) || std::fabs(height) > 1e7) {
        rejectField(txtHeight, kNotANumber.arg(QStringLiteral("Default Observer Height")));
        return false;
    }
    n->height = float(height);

    if (!strict(txtSample, txtSample->text(), QStringLiteral("statistics Sample Period"), &n->sample)
        || !strict(txtLow, txtLow->text(), QStringLiteral("Low Activity count"), &n->low)
        || !strict(txtMed, txtMed->text(), QStringLiteral("Med Activity count"), &n->med)
        || !strict(txtHign, txtHign->text(), QStringLiteral("High Activity count"), &n->high))
        return false;

    double latitude = 0, longitude = 0;
    if (const QString locator = txtLocator->text().trimmed();
        !locator.isEmpty() && !readMaidenhead(locator, &latitude, &longitude)) {
        rejectField(txtLocator, QStringLiteral("The locator you have entered is not a Maidenhead locator (such as IO91wm)"));
        return false;
    }

    const std::pair<QSpinBox *, const char *> scales[10] = {
        {txtTmpMin, "Temperature Scale minimum"}, {txtTmpMax, "Temperature Scale maximum"},
        {txtHumMin, "Humidity Scale minimum"},    {txtHumMax, "Humidity Scale maximum"},
        {txtWindMin, "Wind Speed Scale minimum"}, {txtWindMax, "Wind Speed Scale maximum"},
        {txtPressMin, "Pressure Scale minimum"},  {txtPressMax, "Pressure Scale maximum"},
        {txtRainMin, "Rainfall Scale minimum"},   {txtRainMax, "Rainfall Scale maximum"},
    };
    for (int i = 0; i < 10; ++i)
        if (!strict(scales[i].first, scales[i].first->cleanText(), QLatin1String(scales[i].second), &n->scales[i]))
            return false;

    return strict(txtSecondHeight, txtSecondHeight->text(), QStringLiteral("second Observer Height"),
                  &n->secondHeight);
}

bool frmOptions::Apply()
{
    // 1. The four positions, then every number, then a changed host folder:
    // a rejected field stops Apply before anything is stored.
    m_validationFailed = false;
    if (!validatePositions())
        return false;
    Numbers n;
    if (!readNumbers(&n))
        return false;
    Configuration &c = config();
    const QString hostFolder = txtUIDirectory->text().trimmed();
    if (hostFolder != c.hostFolder && !CheckUIPath(hostFolder)) {
        Prompts::instance().message(kNotHostFolder, kErrorTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        m_validationFailed = true;
        tabOptions->setCurrentIndex(General);
        txtUIDirectory->setFocus();
        return false;
    }

    // 2.
    c.hostFolder = hostFolder;
    c.captureFolder = txtCapturePath->text().trimmed();
    c.locator = txtLocator->text();
    c.captureAuto = chkAutoSaveCapture->isChecked();
    c.satelliteInterval = n.interval;
    c.preload = chkPreload->isChecked();
    c.autoSave = chkAutoSave->isChecked();

    // 3.
    c.dxPlot = chkPlotOnMap->isChecked();
    c.dxHighlight = chkHighlightNew->isChecked();
    c.dxAllCalls = chkAllCalls->isChecked();
    c.dxNotify = chkAllowSpotNotification->isChecked();
    c.dxExpire = n.expire;
    applyToDxMonitor();

    // 4. The auto-record list in row order.
    AutoRecordList &records = shared().autoRecords;
    records.clear();
    for (int i = 0; i < lstAutoRecord->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = lstAutoRecord->topLevelItem(i);
        records.add({row->text(0), row->checkState(0) == Qt::Checked});
    }

    // 5.
    const bool unitChanged = c.miles != optDistMiles->isChecked();
    c.miles = optDistMiles->isChecked();
    c.observer = txtSatLocation->text();
    c.latitude = sConvertPos(txtLatitude->text()) / 60.0f;
    c.longitude = sConvertPos(txtLongitude->text()) / 60.0f;
    c.height = n.height;

    // 6. The zone, daylight saving and the default observer.
    c.daylightSaving = chkDaylightSaving->isChecked();
    c.winAdjust = chkAutoAdjust->isChecked();
    const QString zoneName = cmbTimezones->currentData().toString();
    if (!zoneName.isEmpty() && timezones().selectCurrent(zoneName)) {
        c.timezone = zoneName;
        c.timezoneAdjust = hours(timezones().current().Bias);
    }
    c.satelliteIcons = chkSatsAsPics->isChecked();

    // 7.
    c.centigrade = optCentigrade->isChecked();
    c.statisticsSample = n.sample;
    c.lowCount = n.low;
    c.medCount = n.med;
    c.highCount = n.high;
    c.lowColour = valueFromColour(picLowColour->property("colour").value<QColor>());
    c.medColour = valueFromColour(picMedColour->property("colour").value<QColor>());
    c.highColour = valueFromColour(picHighColour->property("colour").value<QColor>());

    // 8.
    applyBands();

    // 9.
    c.debugLogging = chkDebug->isChecked();
    c.plotPhg = chkPHGRNG->isChecked();
    c.wxToolbar = chkWxToolbar->isChecked();
    qint16 *limits[10] = {&c.tempMin, &c.tempMax, &c.humidityMin, &c.humidityMax, &c.windMin,
                          &c.windMax, &c.pressMin, &c.pressMax,    &c.rainMin,     &c.rainMax};
    for (int i = 0; i < 10; ++i)
        *limits[i] = n.scales[i];
    c.tempAuto = chkTempAuto->isChecked();
    c.humidityAuto = chkHumAuto->isChecked();
    c.windAuto = chkWindAuto->isChecked();
    c.pressureAuto = chkPressAuto->isChecked();
    c.rainAuto = chkRainAuto->isChecked();
    c.aprsIcons = chkIcons->isChecked();

    // 10.
    for (QObject *window : WindowRegistry::instance().tagged(WindowTag::WxStation))
        if (auto *weather = dynamic_cast<WeatherWindow *>(window))
            weather->UpdateChartRanges();
    // Distances already shown follow a new unit at once, not only as stations are heard again.
    if (unitChanged)
        for (QObject *window : WindowRegistry::instance().windows()) {
            if (auto *list = dynamic_cast<StationListWindow *>(window))
                list->unitsChanged();
            if (auto *dx = dynamic_cast<DxMonitorWindow *>(window))
                dx->unitsChanged();
        }

    // 11. The second observer, then one recalculation with everything.
    c.secondLatitude = sConvertPos(txtSecondLat->text()) / 60.0f;
    c.secondLongitude = sConvertPos(txtSecondLong->text()) / 60.0f;
    c.secondHeight = n.secondHeight;
    c.secondLocation = txtSecondName->text();
    c.secondUsed = chkEnableSecond->isChecked();
    // The zone, the observers and the icon switch go over together, as at start.
    if (OrbiterControl *orbiter = trackingControl())
        pushTrackerSettings(*orbiter, c, timezones().current(), Clock::instance().now());
    if (HostApplication *host = shared().host)
        host->refreshMap();

    // 12.
    cmdApply->setEnabled(false);
    return true;
}

void frmOptions::applyToDxMonitor()
{
    // Before the loading sequence has made it, the DX window reads these
    // settings itself when it loads.
    auto *dx = qobject_cast<QWidget *>(WindowRegistry::instance().firstTagged(WindowTag::DxMonitor));
    if (!dx)
        return;
    const Configuration &c = config();
    mirror(dx, "chkPlot", c.dxPlot);
    mirror(dx, "chkIndicate", c.dxHighlight);
    mirror(dx, "chkAllowSpotNotification", c.dxNotify);
    if (auto *expire = dx->findChild<QLineEdit *>(QStringLiteral("txtExpire")))
        expire->setText(QString::number(c.dxExpire));
}
