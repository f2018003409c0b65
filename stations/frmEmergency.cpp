#include "stations/frmEmergency.h"

#include "core/HostStationRecord.h"
#include "core/MainWindowPort.h"
#include "stations/EmergencyAlerts.h"
#include "stations/subFunctions.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Emergency");
QPointer<frmEmergency> g_window;

} // namespace

frmEmergency::frmEmergency(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEmergency"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *label = new QLabel(QStringLiteral("A station reports an emergency:"), this);
    lstAlerts = new QListWidget(this);
    lstAlerts->setObjectName(QStringLiteral("lstAlerts"));
    lstAlerts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdAcknowledge = new QPushButton(QStringLiteral("Acknowledge"), this);
    cmdAcknowledge->setObjectName(QStringLiteral("cmdAcknowledge"));
    cmdAcknowledge->setDefault(true);
    connect(cmdAcknowledge, &QPushButton::clicked, this, &frmEmergency::acknowledgeSelected);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lstAlerts, 1);
    layout->addWidget(cmdAcknowledge, 0, Qt::AlignRight);
    resize(420, 200);
    // Closing the window is no acknowledgement: the stations stay red until
    // each is acknowledged, and the next alert brings the window back.
}

frmEmergency *frmEmergency::current() { return g_window; }

frmEmergency *frmEmergency::raiseFor(const HostStationRecord &record)
{
    // Owned by the main window, so that it never keeps the program running
    // once the main window has closed.
    if (!g_window)
        g_window = new frmEmergency(MainWindowPort::widget() ? MainWindowPort::widget() : QApplication::activeWindow());
    g_window->addAlert(record);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    QApplication::beep();
    return g_window;
}

void frmEmergency::addAlert(const HostStationRecord &record)
{
    const QString text = record.callsign + QStringLiteral("  ") + FormatPosition(record.latitude, false)
                         + QLatin1Char(' ') + FormatPosition(record.longitude, true) + QStringLiteral("  ")
                         + (record.timeHeard.isEmpty() ? record.timeHeardSecond : record.timeHeard);
    for (int i = 0; i < lstAlerts->count(); ++i)
        if (lstAlerts->item(i)->data(Qt::UserRole).toString() == record.callsign) {
            lstAlerts->item(i)->setText(text);
            return;
        }
    auto *item = new QListWidgetItem(text, lstAlerts);
    item->setData(Qt::UserRole, record.callsign);
    item->setForeground(Qt::red);
    lstAlerts->setCurrentItem(item);
}

void frmEmergency::acknowledgeSelected()
{
    // With nothing chosen the button acknowledges every alert listed.
    QList<QListWidgetItem *> chosen = lstAlerts->selectedItems();
    if (chosen.isEmpty())
        for (int i = 0; i < lstAlerts->count(); ++i)
            chosen << lstAlerts->item(i);
    for (QListWidgetItem *item : chosen) {
        EmergencyAlerts::instance().acknowledge(item->data(Qt::UserRole).toString());
        delete item;
    }
    if (lstAlerts->count() == 0)
        close();
}
