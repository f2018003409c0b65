#include "host/setup/FeedForm.h"

#include "host/feeds/FeedProblems.h"
#include "host/setup/FeedChecks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

using Type = FeedSettings::Type;

const Type kTypes[] = {Type::AprsIs, Type::Kiss, Type::SerialKiss, Type::DxCluster, Type::Gpsd, Type::Replay, Type::DxReplay};
const int kBauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

bool isFile(Type t) { return t == Type::Replay || t == Type::DxReplay; }

} // namespace

FeedForm::FeedForm(QWidget *parent)
    : QWidget(parent)
{
    cboType = new QComboBox(this);
    cboType->setObjectName(QStringLiteral("cboType"));
    for (Type t : kTypes)
        cboType->addItem(HostConfig::typeName(t), int(t));
    txtHost = field(this, "txtHost");
    txtPort = field(this, "txtPort");
    txtCallsign = field(this, "txtFeedCallsign");
    txtCallsign->setPlaceholderText(QStringLiteral("the station's own"));
    txtFilter = field(this, "txtFilter");
    lblFilterHint = new QLabel(QStringLiteral("Common filters: r/lat/lon/km (round a place), m/km (round this "
                                              "station), b/CALL* (these stations), t/poimqstunw (these kinds)"),
                               this);
    lblFilterHint->setObjectName(QStringLiteral("lblFilterHint"));
    lblFilterHint->setWordWrap(true);
    txtPasscode = field(this, "txtPasscode");
    txtPasscode->setEchoMode(QLineEdit::Password);
    chkTransmit = new QCheckBox(QStringLiteral("Transmit"), this);
    chkTransmit->setObjectName(QStringLiteral("chkTransmit"));
    chkTransmit->setToolTip(QStringLiteral("Lets this feed send the station's own frames"));
    txtPath = field(this, "txtPath");
    txtFile = field(this, "txtFile");
    txtSpeed = field(this, "txtSpeed");
    chkLoop = new QCheckBox(QStringLiteral("Start again at the end"), this);
    chkLoop->setObjectName(QStringLiteral("chkLoop"));
    txtIdle = field(this, "txtIdle");
    txtIdle->setToolTip(QStringLiteral("Seconds with nothing heard before calling again; 0 waits for ever"));
    txtDevice = field(this, "txtDevice");
    txtDevice->setPlaceholderText(QStringLiteral("/dev/ttyUSB0, /dev/rfcomm0, direwolf's /dev/pts/N"));
    txtBaud = field(this, "txtBaud");

    m_form = new QFormLayout(this);
    m_form->setContentsMargins(0, 0, 0, 0);
    m_form->addRow(QStringLiteral("T&ype"), cboType);
    m_form->addRow(QStringLiteral("&Server"), txtHost);
    m_form->addRow(QStringLiteral("P&ort"), txtPort);
    m_form->addRow(QStringLiteral("De&vice"), txtDevice);
    m_form->addRow(QStringLiteral("&Baud"), txtBaud);
    m_form->addRow(QStringLiteral("&Login callsign"), txtCallsign);
    m_form->addRow(QStringLiteral("&Filter"), txtFilter);
    m_form->addRow(QString(), lblFilterHint);
    m_form->addRow(QStringLiteral("Pa&sscode"), txtPasscode);
    m_form->addRow(QString(), chkTransmit);
    m_form->addRow(QStringLiteral("P&ath"), txtPath);
    m_form->addRow(QStringLiteral("F&ile"), txtFile);
    m_form->addRow(QStringLiteral("Spee&d"), txtSpeed);
    m_form->addRow(QString(), chkLoop);
    m_form->addRow(QStringLiteral("&Idle timeout (s)"), txtIdle);
    connect(cboType, &QComboBox::currentIndexChanged, this, [this] {
        // A new type brings its own usual idle timeout.
        txtIdle->setText(QString::number(FeedSettings::defaultIdleTimeout(type())));
        if (type() == Type::Gpsd)
            txtPort->setText(QStringLiteral("2947"));
        showFieldsOf(type());
    });
    FeedSettings blank;
    blank.type = Type::AprsIs;
    load(blank);
}

FeedSettings::Type FeedForm::type() const
{
    return Type(cboType->currentData().toInt());
}

void FeedForm::showFieldsOf(Type t)
{
    auto show = [&](QWidget *w, bool visible) { m_form->setRowVisible(w, visible); };
    const bool file = isFile(t);
    const bool serial = t == Type::SerialKiss;
    show(txtHost, !file && !serial);
    show(txtPort, !file && !serial);
    show(txtDevice, serial);
    show(txtBaud, serial);
    show(txtCallsign, t == Type::AprsIs || t == Type::DxCluster);
    show(txtFilter, t == Type::AprsIs);
    show(lblFilterHint, t == Type::AprsIs);
    show(txtPasscode, t == Type::AprsIs);
    show(chkTransmit, t == Type::AprsIs || t == Type::Kiss || serial);
    show(txtPath, t == Type::Kiss || serial);
    show(txtFile, file);
    show(txtSpeed, file);
    show(chkLoop, file);
    show(txtIdle, !file && !serial && t != Type::Gpsd);
    if (auto *label = qobject_cast<QLabel *>(m_form->labelForField(txtHost)))
        label->setText(t == Type::Kiss ? QStringLiteral("&TNC host")
                       : t == Type::Gpsd ? QStringLiteral("gpsd &host")
                                         : QStringLiteral("&Server"));
}

void FeedForm::load(const FeedSettings &feed)
{
    {
        const QSignalBlocker quiet(cboType);
        cboType->setCurrentIndex(std::max(0, cboType->findData(int(feed.type))));
    }
    txtHost->setText(feed.host.isEmpty() ? QStringLiteral("127.0.0.1") : feed.host);
    txtPort->setText(feed.port ? QString::number(feed.port) : QString());
    txtCallsign->setText(feed.callsign);
    txtFilter->setText(feed.filter);
    txtPasscode->setText(feed.passcode);
    chkTransmit->setChecked(feed.transmit);
    txtPath->setText(feed.path);
    const QString relative = m_hostFolder.isEmpty() ? feed.file : QDir(m_hostFolder).relativeFilePath(feed.file);
    txtFile->setText(relative.startsWith(QLatin1String("..")) ? feed.file : relative);
    txtSpeed->setText(QString::number(feed.speed));
    chkLoop->setChecked(feed.loop);
    txtIdle->setText(QString::number(feed.idleTimeoutSeconds));
    txtDevice->setText(feed.device);
    txtBaud->setText(QString::number(feed.baud));
    showFieldsOf(feed.type);
}

bool FeedForm::refuse(QLineEdit *edit, const QString &problem, QString *out)
{
    *out = problem;
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool FeedForm::read(const FeedSettings &base, FeedSettings *feed, QString *problem)
{
    FeedSettings f = base;
    f.type = type();
    if (isFile(f.type)) {
        const QString file = txtFile->text().trimmed();
        if (file.isEmpty())
            return refuse(txtFile, QStringLiteral("Type the file to replay."), problem);
        f.file = QDir::isAbsolutePath(file) || m_hostFolder.isEmpty() ? file : QDir(m_hostFolder).filePath(file);
        bool ok = false;
        const double speed = txtSpeed->text().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(speed) || speed <= 0 || speed > 10000)
            return refuse(txtSpeed, QStringLiteral("\"%1\" is not a speed: 1 plays as recorded, 10 ten times faster.")
                                        .arg(txtSpeed->text().trimmed()), problem);
        f.speed = speed;
        f.loop = chkLoop->isChecked();
        *feed = f;
        return true;
    }
    if (f.type == Type::SerialKiss) {
        const QString device = txtDevice->text().trimmed();
        if (!device.startsWith(u'/'))
            return refuse(txtDevice, QStringLiteral("Type the TNC's device, as /dev/ttyUSB0 or /dev/rfcomm0."), problem);
        bool ok = false;
        const int baud = txtBaud->text().trimmed().toInt(&ok);
        if (!ok || std::find(std::begin(kBauds), std::end(kBauds), baud) == std::end(kBauds))
            return refuse(txtBaud, QStringLiteral("\"%1\" is not a serial speed: 1200, 4800, 9600 (the usual), 19200, "
                                                  "38400, 57600 or 115200.").arg(txtBaud->text().trimmed()), problem);
        if (QString p = FeedChecks::path(txtPath->text()); !p.isEmpty())
            return refuse(txtPath, p, problem);
        f.device = device;
        f.baud = baud;
        f.path = txtPath->text().trimmed().toUpper();
        f.transmit = chkTransmit->isChecked();
        *feed = f;
        return true;
    }
    if (QString p = FeedChecks::hostName(txtHost->text()); !p.isEmpty())
        return refuse(txtHost, p, problem);
    f.host = txtHost->text().trimmed();
    if (QString p = FeedChecks::port(txtPort->text(), &f.port); !p.isEmpty())
        return refuse(txtPort, p, problem);
    if (f.type == Type::AprsIs || f.type == Type::DxCluster) {
        if (QString p = FeedChecks::callsign(txtCallsign->text(), true); !p.isEmpty())
            return refuse(txtCallsign, p, problem);
        f.callsign = txtCallsign->text().trimmed().toUpper();
    }
    if (f.type == Type::AprsIs) {
        if (QString p = checkAprsIsFilter(txtFilter->text()); !p.isEmpty())
            return refuse(txtFilter, p, problem);
        f.filter = txtFilter->text().simplified();
        const QString passcode = txtPasscode->text().trimmed();
        bool ok = false;
        const int code = passcode.toInt(&ok);
        if (!passcode.isEmpty() && (!ok || code < -1 || code > 32767))
            return refuse(txtPasscode, QStringLiteral("A passcode is a number from 0 to 32767 (-1 logs in receive only)."),
                          problem);
        f.passcode = passcode;
    }
    if (f.type == Type::Kiss) {
        if (QString p = FeedChecks::path(txtPath->text()); !p.isEmpty())
            return refuse(txtPath, p, problem);
        f.path = txtPath->text().trimmed().toUpper();
    }
    if (f.type == Type::AprsIs || f.type == Type::Kiss)
        f.transmit = chkTransmit->isChecked();
    if (f.type == Type::Gpsd) {
        *feed = f;
        return true;
    }
    if (QString p = FeedChecks::whole(txtIdle->text(), 0, 86400, QStringLiteral("timeout"), &f.idleTimeoutSeconds);
        !p.isEmpty())
        return refuse(txtIdle, p, problem);
    *feed = f;
    return true;
}
