#include "host/setup/StationWindow.h"

#include "host/EmbeddedHost.h"
#include "host/map/HostMapWindow.h"
#include "host/map/SymbolPainter.h"
#include "host/setup/FeedChecks.h"
#include "host/setup/StationPosition.h"
#include "options/PositionFormats.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// The two tables: a picture of every printable code of each.
void fillSymbols(QListWidget *list)
{
    for (QChar table : {QChar(u'/'), QChar(u'\\')})
        for (char16_t code = u'!'; code <= u'~'; ++code) {
            auto *item = new QListWidgetItem(QIcon(QPixmap::fromImage(SymbolPainter::image(table, QChar(code), 24))),
                                             QString(), list);
            const QString symbol = QString(table) + QChar(code);
            item->setData(Qt::UserRole, symbol);
            item->setToolTip(symbol);
        }
}

} // namespace

StationWindow::StationWindow(EmbeddedHost *host, QWidget *parent)
    : QDialog(parent, Qt::Window)
    , m_host(host)
{
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("frmStationSetup"));
    txtCallsign = field(this, "txtCallsign");
    txtPosition = field(this, "txtPosition");
    txtPosition->setToolTip(QStringLiteral("51.30.00N 000.07.50W, 51.5 -0.125, SU 123 456 or IO91wm"));
    lblPosition = new QLabel(this);
    lblPosition->setObjectName(QStringLiteral("lblPosition"));
    btnFromMap = new QPushButton(QStringLiteral("From the &map"), this);
    btnFromMap->setObjectName(QStringLiteral("btnFromMap"));
    btnFromGps = new QPushButton(QStringLiteral("From &GPS"), this);
    btnFromGps->setObjectName(QStringLiteral("btnFromGps"));
    btnFromGps->setEnabled(false);
    btnFromGps->setToolTip(QStringLiteral("Takes the current fix of a gpsd feed"));
    lstSymbol = new QListWidget(this);
    lstSymbol->setObjectName(QStringLiteral("lstSymbol"));
    lstSymbol->setViewMode(QListView::IconMode);
    lstSymbol->setIconSize(QSize(24, 24));
    lstSymbol->setGridSize(QSize(30, 30));
    lstSymbol->setMovement(QListView::Static);
    lstSymbol->setResizeMode(QListView::Adjust);
    lstSymbol->setMinimumSize(16 * 30 + 24, 6 * 30 + 8);
    fillSymbols(lstSymbol);
    txtComment = field(this, "txtComment");
    txtStatus = field(this, "txtStatus");
    txtInterval = field(this, "txtInterval");
    txtInterval->setToolTip(QStringLiteral("Minutes between beacons; 0 sends none"));
    lblProblem = new QLabel(this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setStyleSheet(QStringLiteral("color: #b00020"));
    lblProblem->setWordWrap(true);
    lblProblem->setTextFormat(Qt::PlainText);

    lblBeacon = new QLabel(this);
    lblBeacon->setObjectName(QStringLiteral("lblBeacon"));
    lblBeacon->setTextFormat(Qt::PlainText);
    lblBeacon->setWordWrap(true);

    auto *position = new QHBoxLayout;
    position->addWidget(txtPosition, 1);
    position->addWidget(btnFromMap);
    position->addWidget(btnFromGps);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Callsign"), txtCallsign);
    // A row of several widgets has no buddy for a mnemonic.
    form->addRow(QStringLiteral("Position"), position);
    form->addRow(QString(), lblPosition);
    form->addRow(QStringLiteral("S&ymbol"), lstSymbol);
    form->addRow(QStringLiteral("Beacon c&omment"), txtComment);
    form->addRow(QStringLiteral("S&tatus text"), txtStatus);
    form->addRow(QStringLiteral("Beacon &interval (minutes)"), txtInterval);
    form->addRow(QString(), lblBeacon);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOk = buttons->button(QDialogButtonBox::Ok);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);

    const EmbeddedHost::StationSettings s = host->station();
    txtCallsign->setText(s.callsign);
    txtPosition->setText(stationPositionText({s.latitude, s.longitude}));
    txtComment->setText(s.comment);
    txtStatus->setText(s.status);
    txtInterval->setText(QString::number(s.beaconIntervalMinutes));
    selectSymbol(s.symbol);
    showPositionMeaning();

    connect(txtPosition, &QLineEdit::textChanged, this, &StationWindow::showPositionMeaning);
    auto showBeacon = [this] { lblBeacon->setText(m_host->beaconStatus()); };
    showBeacon();
    connect(host->onAir(), &OnAir::statusChanged, this, showBeacon);
    connect(host->onAir(), &OnAir::beaconSent, this, showBeacon);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnFromMap, &QPushButton::clicked, this, [this] {
        if (HostMapWindow *map = m_host->window()) {
            m_host->showMapWindow();
            map->view()->pickPosition();
            lblPosition->setText(QStringLiteral("Click your place on the host map."));
        }
    });
    if (HostMapWindow *map = host->window())
        connect(map->view(), &HostMapView::positionPicked, this, [this](double latitude, double longitude) {
            txtPosition->setText(stationPositionText({latitude, longitude}));
            raise();
            activateWindow();
        });
    double gpsLatitude = 0, gpsLongitude = 0;
    setGpsFix(host->gpsFix(&gpsLatitude, &gpsLongitude), gpsLatitude, gpsLongitude);
    connect(host, &EmbeddedHost::gpsFixed, this,
            [this](double latitude, double longitude) { setGpsFix(true, latitude, longitude); });
    connect(btnFromGps, &QPushButton::clicked, this,
            [this] { txtPosition->setText(stationPositionText({m_gpsLatitude, m_gpsLongitude})); });
}

void StationWindow::selectSymbol(const QString &symbol)
{
    for (int i = 0; i < lstSymbol->count(); ++i)
        if (lstSymbol->item(i)->data(Qt::UserRole).toString() == symbol) {
            lstSymbol->setCurrentRow(i);
            return;
        }
}

void StationWindow::showPositionMeaning()
{
    StationPosition p;
    QString problem;
    if (readStationPosition(txtPosition->text(), &p, &problem))
        lblPosition->setText(QStringLiteral("%1, %2 \u2014 locator %3")
                                 .arg(QString::number(p.latitude, 'f', 5), QString::number(p.longitude, 'f', 5),
                                      maidenheadLocator(p.latitude, p.longitude)));
    else
        lblPosition->setText(QString());
}

void StationWindow::setGpsFix(bool valid, double latitude, double longitude)
{
    m_gpsLatitude = latitude;
    m_gpsLongitude = longitude;
    btnFromGps->setEnabled(valid);
}

void StationWindow::refuse(QLineEdit *edit, const QString &problem)
{
    lblProblem->setText(problem);
    edit->setFocus();
    edit->selectAll();
}

bool StationWindow::apply()
{
    lblProblem->clear();
    EmbeddedHost::StationSettings s;
    if (const QString problem = FeedChecks::callsign(txtCallsign->text(), false); !problem.isEmpty()) {
        refuse(txtCallsign, problem);
        return false;
    }
    s.callsign = txtCallsign->text().trimmed().toUpper();
    StationPosition position;
    QString problem;
    if (!readStationPosition(txtPosition->text(), &position, &problem)) {
        refuse(txtPosition, problem);
        return false;
    }
    s.latitude = position.latitude;
    s.longitude = position.longitude;
    problem = FeedChecks::whole(txtInterval->text(), 0, 1440, QStringLiteral("beacon interval"),
                                &s.beaconIntervalMinutes);
    if (!problem.isEmpty()) {
        refuse(txtInterval, problem);
        return false;
    }
    if (const QListWidgetItem *item = lstSymbol->currentItem())
        s.symbol = item->data(Qt::UserRole).toString();
    s.comment = txtComment->text().trimmed();
    s.status = txtStatus->text().trimmed();
    if (!m_host->applyStation(s, &problem)) {
        lblProblem->setText(QStringLiteral("The station could not be saved: %1").arg(problem));
        return false;
    }
    return true;
}
