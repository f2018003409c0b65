#include "stations/frmStationInfo.h"

#include "core/Configuration.h"
#include "core/HostApplication.h"
#include "core/MainWindowPort.h"
#include "core/PrivateProfile.h"
#include "core/SharedState.h"
#include "core/Units.h"
#include "core/Utilities.h"
#include "stations/subFunctions.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kCaption = QStringLiteral("Station Information for ");
constexpr int kNameLimit = 500;

QLineEdit *readOnlyBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

} // namespace

frmStationInfo::frmStationInfo(QWidget *parent)
    : QDialog(parent ? parent : MainWindowPort::widget())
{
    setObjectName(QStringLiteral("frmStationInfo"));
    setWindowTitle(QStringLiteral("Station Information"));
    setModal(true);

    picSymbol = new QLabel(this);
    picSymbol->setObjectName(QStringLiteral("picSymbol"));
    picSymbol->setFixedSize(32, 32);
    picSymbol->setAlignment(Qt::AlignCenter);
    chkDirect = new QCheckBox(QStringLiteral("Heard Direct"), this);
    chkDirect->setObjectName(QStringLiteral("chkDirect"));
    chkDirect->setAttribute(Qt::WA_TransparentForMouseEvents);
    chkDirect->setFocusPolicy(Qt::NoFocus);

    auto *position = new QGroupBox(QStringLiteral(" Position"), this);
    position->setObjectName(QStringLiteral("fraPosition"));
    txtLatitude = readOnlyBox("txtLatitude", position);
    txtLongitude = readOnlyBox("txtLongitude", position);
    auto *positionForm = new QFormLayout(position);
    positionForm->addRow(QStringLiteral("Latitude"), txtLatitude);
    positionForm->addRow(QStringLiteral("Longitude"), txtLongitude);

    auto *mobile = new QGroupBox(QStringLiteral(" Moibile"), this);
    mobile->setObjectName(QStringLiteral("fraMobile"));
    txtCourse = readOnlyBox("txtCourse", mobile);
    txtHeight = readOnlyBox("txtHeight", mobile);
    txtSpeed = readOnlyBox("txtSpeed", mobile);
    txtMessage = readOnlyBox("txtMessage", mobile);
    // Each value with its unit beside it, in the options' distance unit.
    const bool miles = config().miles;
    auto *mobileForm = new QFormLayout(mobile);
    auto withUnit = [mobile](QLineEdit *box, const char *name, const QString &unit) {
        auto *row = new QHBoxLayout;
        auto *label = new QLabel(unit, mobile);
        label->setObjectName(QString::fromLatin1(name));
        row->addWidget(box, 1);
        row->addWidget(label);
        return row;
    };
    mobileForm->addRow(QStringLiteral("Course"), withUnit(txtCourse, "lblCourseUnit", QStringLiteral("degrees")));
    mobileForm->addRow(QStringLiteral("Height"), withUnit(txtHeight, "lblHeightUnit", Units::heightSymbol(miles)));
    mobileForm->addRow(QStringLiteral("Speed"), withUnit(txtSpeed, "lblSpeedUnit", Units::speedSymbol(miles)));
    mobileForm->addRow(QStringLiteral("Message"), txtMessage);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(picSymbol);
    top->addWidget(chkDirect, 1);
    m_layout = new QVBoxLayout(this);
    m_layout->addLayout(top);
    m_layout->addWidget(position);
    m_layout->addWidget(mobile);
    m_layout->addWidget(ok, 0, Qt::AlignRight);

    adjustSize();

    Form_Load();
}

void frmStationInfo::addTelemetry(const HostTelemetry &telemetry)
{
    auto *box = new QGroupBox(QStringLiteral(" Telemetry"), this);
    box->setObjectName(QStringLiteral("fraTelemetry"));
    auto *layout = new QVBoxLayout(box);
    QStringList about;
    if (!telemetry.project.isEmpty())
        about << telemetry.project;
    if (!telemetry.sequence.isEmpty())
        about << QStringLiteral("Report %1").arg(telemetry.sequence);
    if (!telemetry.timeHeard.isEmpty())
        about << telemetry.timeHeard;
    if (!about.isEmpty()) {
        auto *label = new QLabel(about.join(QStringLiteral(", ")), box);
        label->setObjectName(QStringLiteral("lblTelemetry"));
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    lstTelemetry = new QTreeWidget(box);
    lstTelemetry->setObjectName(QStringLiteral("lstTelemetry"));
    lstTelemetry->setRootIsDecorated(false);
    lstTelemetry->setHeaderLabels({QStringLiteral("Channel"), QStringLiteral("Value"), QStringLiteral("Unit")});
    for (const HostTelemetry::Channel &channel : telemetry.channels) {
        auto *row = new QTreeWidgetItem(lstTelemetry, {channel.name, channel.value, channel.unit});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    lstTelemetry->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Tall enough for every channel without scrolling (13 at most).
    const int rows = int(telemetry.channels.size());
    lstTelemetry->setMinimumHeight(lstTelemetry->header()->sizeHint().height()
                                   + (rows + 1) * lstTelemetry->sizeHintForRow(0) + 2 * lstTelemetry->frameWidth());
    lstTelemetry->setMinimumWidth(280);
    layout->addWidget(lstTelemetry);
    m_layout->insertWidget(m_layout->count() - 1, box);
    adjustSize();
    CentreOnMain(this);
}

void frmStationInfo::Form_Load()
{
    CentreOnMain(this);
    HostApplication *host = shared().host;
    const QString callsign = shared().currentStation;
    if (!host || callsign.isEmpty())
        return;
    HostStationRecord record;
    record.callsign = callsign;
    if (!host->lookUpStation(record))
        return;
    const QString name = PrivateProfile::readString(config().hostFolder + QStringLiteral("/STATIONS.INI"),
                                                    callsign, QStringLiteral("NAME"))
                             .left(kNameLimit);
    setWindowTitle(name.isEmpty() ? kCaption + callsign
                                  : kCaption + callsign + QStringLiteral(" [") + name + QLatin1Char(']'));
    LoadStationSymbol(callsign, picSymbol, *host);
    chkDirect->setChecked(record.heardDirect);
    txtLatitude->setText(FormatPosition(record.latitude, false));
    txtLongitude->setText(FormatPosition(record.longitude, true));
    // A value the station did not send stays empty: a fixed station has no
    // course, and 0 ft or 0 mph would be a reading it never gave.
    if (record.course != HostStationRecord::NoCourse)
        txtCourse->setText(QString::number(record.course));
    const bool miles = config().miles;
    if (record.height != HostStationRecord::NoHeight)
        txtHeight->setText(QString::number(std::llround(Units::heightFromFeet(double(record.height), miles))));
    if (record.speed >= 0)
        txtSpeed->setText(QString::number(std::round(Units::speedFromKnots(record.speed, miles) * 10) / 10));
    txtMessage->setText(record.message);
    if (record.message == QLatin1String("Emergency"))
        txtMessage->setStyleSheet(QStringLiteral("color: white; background: red"));
    const HostTelemetry telemetry = host->stationTelemetry(callsign);
    if (!telemetry.isEmpty())
        addTelemetry(telemetry);
}

void frmStationInfo::showFor(QWidget *owner)
{
    frmStationInfo window(owner);
    window.exec();
}
