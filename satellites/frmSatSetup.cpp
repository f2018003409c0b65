#include "satellites/frmSatSetup.h"

#include "core/HostApplication.h"
#include "core/MainWindowPort.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "satellites/KepsFile.h"
#include "satellites/OrbiterControl.h"
#include "satellites/SatelliteChoices.h"
#include "satellites/SatelliteSelection.h"
#include "satellites/frmSatStatus.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Satellite Setup");
const QString kClearQuestion = QStringLiteral(
    "This will remove all of the selected satellites from the display. Are you sure that you wish to do this.");
const QString kClearTitle = QStringLiteral("Clear Satellite Display");
const QString kKepsPath = QStringLiteral("/Keps/Keps.txt");
constexpr int kTagRole = Qt::UserRole;

QPushButton *button(const QString &text, const QString &name, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmSatSetup::frmSatSetup(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSatSetup"));
    setWindowTitle(kCaption);

    auto *available = new QGroupBox(QStringLiteral("Available"), this);
    lstSats = new QListWidget(available);
    lstSats->setObjectName(QStringLiteral("lstSats"));
    lstSats->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSats->setAccessibleName(QStringLiteral("Available satellites"));
    lblAvailable = new QLabel(available);
    lblAvailable->setObjectName(QStringLiteral("lblAvailable"));
    lblAvailable->setWordWrap(true);
    lblAvailable->hide();
    auto *availableLayout = new QVBoxLayout(available);
    availableLayout->addWidget(lstSats);
    availableLayout->addWidget(lblAvailable);

    auto *selected = new QGroupBox(QStringLiteral("Selected"), this);
    lstSelected = new QTreeWidget(selected);
    lstSelected->setObjectName(QStringLiteral("lstSelected"));
    lstSelected->setHeaderLabels({QStringLiteral("Satellite")});
    lstSelected->setRootIsDecorated(false);
    lstSelected->setAccessibleName(QStringLiteral("Selected satellites; ticked ones go on the map"));
    lstSelected->setToolTip(QStringLiteral("Tick a satellite to place it on the host's map as well"));
    auto *selectedLayout = new QVBoxLayout(selected);
    selectedLayout->addWidget(lstSelected);

    auto *add = button(QStringLiteral(">"), QStringLiteral("cmdAdd"), QStringLiteral("Add the highlighted satellites"), this);
    auto *remove = button(QStringLiteral("<"), QStringLiteral("cmdRemove"), QStringLiteral("Remove the highlighted satellite"), this);
    auto *removeAll = button(QStringLiteral("<<"), QStringLiteral("cmdRemoveAll"), QStringLiteral("Remove every selected satellite"), this);
    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(add);
    moves->addWidget(remove);
    moves->addWidget(removeAll);
    moves->addStretch();

    auto *refresh = button(QStringLiteral("Refresh Keps"), QStringLiteral("cmdRefresh"),
                           QStringLiteral("Read the element file again"), this);
    auto *clear = button(QStringLiteral("Clear All"), QStringLiteral("cmdClear"),
                         QStringLiteral("Remove every satellite from the display and the map"), this);
    auto *ok = button(QStringLiteral("OK"), QStringLiteral("cmdOK"), QString(), this);
    ok->setDefault(true);
    auto *cancel = button(QStringLiteral("Cancel"), QStringLiteral("cmdCancel"), QString(), this);
    auto *dated = new QLabel(QStringLiteral("Keps Dated"), this);
    lblDate = new QLabel(this);
    lblDate->setObjectName(QStringLiteral("lblDate"));

    auto *lists = new QHBoxLayout;
    lists->addWidget(available, 1);
    lists->addLayout(moves);
    lists->addWidget(selected, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(dated);
    bottom->addWidget(lblDate);
    bottom->addStretch();
    bottom->addWidget(refresh);
    bottom->addWidget(clear);
    bottom->addSpacing(12);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);
    resize(620, 420);

    connect(add, &QPushButton::clicked, this, &frmSatSetup::cmdAdd_Click);
    connect(remove, &QPushButton::clicked, this, &frmSatSetup::cmdRemove_Click);
    connect(removeAll, &QPushButton::clicked, this, &frmSatSetup::cmdRemoveAll_Click);
    connect(refresh, &QPushButton::clicked, this, &frmSatSetup::cmdRefresh_Click);
    connect(clear, &QPushButton::clicked, this, &frmSatSetup::cmdClear_Click);
    connect(ok, &QPushButton::clicked, this, &frmSatSetup::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstSats, &QListWidget::itemDoubleClicked, this, [this] { cmdAdd_Click(); });
    auto *del = new QShortcut(QKeySequence::Delete, lstSelected);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &frmSatSetup::cmdRemove_Click);

    SetupSatList();
}

void frmSatSetup::showFor(QWidget *owner)
{
    frmSatSetup dialog(owner);
    CentreOnMain(&dialog);
    dialog.exec();
}

frmSatStatus *frmSatSetup::statusWindow() const
{
    return WindowRegistry::instance().first<frmSatStatus>();
}

QTreeWidgetItem *frmSatSetup::addSelected(const QString &name, int tag, bool ticked)
{
    auto *item = new QTreeWidgetItem(lstSelected, {name});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    item->setData(0, kTagRole, tag);
    return item;
}

void frmSatSetup::SetupSatList(bool listSelection)
{
    const ElementTable &table = keps();
    lstSats->clear();
    for (const KepsElementSet &set : table.sets)
        lstSats->addItem(set.name);

    const SatelliteSelection &selection = satelliteSelection();
    for (int i = 0; listSelection && i < table.sets.size() && i < SatelliteSelection::Size; ++i) {
        if (!selection.selected[std::size_t(i + 1)])
            continue;
        const QString &name = table.sets[i].name;
        if (lstSelected->findItems(name, Qt::MatchExactly).isEmpty())
            addSelected(name, i, selection.plot[std::size_t(i + 1)]);
    }

    lblDate->setText(table.sets.isEmpty() ? QString() : kepsDated(table.sets.first().line1));
    if (table.beyondCapacity > 0) {
        lblAvailable->setText(QStringLiteral("The first %1 of the %2 element sets in %3.")
                                  .arg(table.sets.size())
                                  .arg(table.sets.size() + table.beyondCapacity)
                                  .arg(table.fileName));
        lblAvailable->show();
    } else {
        lblAvailable->hide();
    }
}

void frmSatSetup::cmdAdd_Click()
{
    for (int row = 0; row < lstSats->count(); ++row) {
        QListWidgetItem *item = lstSats->item(row);
        if (item->isSelected() && lstSelected->findItems(item->text(), Qt::MatchExactly).isEmpty())
            addSelected(item->text(), row, false);
    }
}

void frmSatSetup::cmdRemove_Click()
{
    if (QTreeWidgetItem *item = lstSelected->currentItem())
        delete item;
}

void frmSatSetup::cmdRemoveAll_Click()
{
    lstSelected->clear();
}

void frmSatSetup::cmdRefresh_Click()
{
    // The chosen sets are followed into the new file by name and catalogue number.
    const QList<SatelliteChoices::Pick> chosen = picksOf(satelliteSelection(), keps().sets);
    LoadKeps(GetDataFolder() + kKepsPath);
    applyPicks(chosen, keps().sets, satelliteSelection());
    // The sets may have moved or gone: the listed ones follow their names.
    const ElementTable &table = keps();
    for (int i = lstSelected->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *item = lstSelected->topLevelItem(i);
        int found = -1;
        for (int k = 0; k < table.sets.size() && found < 0; ++k)
            if (table.sets[k].name == item->text(0))
                found = k;
        if (found < 0)
            delete item;
        else
            item->setData(0, kTagRole, found);
    }
    SetupSatList(false);
}

void frmSatSetup::removeEveryPlacedObject(bool refresh)
{
    HostApplication *host = shared().host;
    if (!host)
        return;
    for (const QString &name : host->placedObjects())
        host->removePlacedObject(name);
    if (refresh)
        host->refreshMap();
}

void frmSatSetup::cmdOK_Click()
{
    SatelliteSelection &selection = satelliteSelection();
    selection.clear();
    frmSatStatus *status = statusWindow();
    if (status)
        status->orbiter()->removeAllSatellites();
    removeEveryPlacedObject(true);
    for (int i = 0; i < lstSelected->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lstSelected->topLevelItem(i);
        const int tag = item->data(0, kTagRole).toInt();
        if (tag < 0 || tag + 1 > SatelliteSelection::Size)
            continue;
        selection.selected[std::size_t(tag + 1)] = true;
        if (item->checkState(0) == Qt::Checked)
            selection.plot[std::size_t(tag + 1)] = true;
    }
    accept();
    if (status) {
        status->updater().SubSetupSatellites(parentWidget());
        status->updateNow();
    }
}

void frmSatSetup::cmdClear_Click()
{
    const auto answer = Prompts::instance().message(kClearQuestion, kClearTitle, Prompts::Buttons::YesNo,
                                                    Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return;
    satelliteSelection().selected.fill(false);
    lstSelected->clear();
    frmSatStatus *status = statusWindow();
    if (status) {
        status->orbiter()->removeAllSatellites();
        status->updateNow();
    }
    accept();
    MainWindowPort::switchToolOff(MainTool::SatelliteStatus);
    removeEveryPlacedObject(false);
}
