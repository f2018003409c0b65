// The DX window: tabs, the shared panel and the settings.
#include "dx/frmDx.h"

#include "core/Configuration.h"
#include "core/FixedFont.h"
#include "core/Utilities.h"
#include "dx/BandTable.h"
#include "dx/DxRows.h"
#include "dx/DxTabStrip.h"
#include "dx/LeadingNumber.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kSettingsCaption = QStringLiteral("DX List");
const QString kNotifiedCaption = QStringLiteral("Spotted DX");
const QString kBandCaption = QStringLiteral("DX List (");
const QString kOneStation = QStringLiteral(" Station)");
const QString kStations = QStringLiteral(" Stations)");

QPlainTextEdit *textBox(const QString &name, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setUndoRedoEnabled(false);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(fixedPitchFont());
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

} // namespace

frmDx::frmDx(QWidget *parent) : QWidget(parent), m_monitor(bandTable())
{
    setObjectName(QStringLiteral("frmDx"));
    setWindowTitle(Caption);

    buildTabs();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(ExpiryInterval);
    connect(Timer1, &QTimer::timeout, this, &frmDx::Timer1_Timer);

    // Settings from the configuration; a ticked notification loads the prefixes now.
    const Configuration &c = config();
    m_distanceInMiles = c.miles;
    chkPlot->setChecked(c.dxPlot);
    chkIndicate->setChecked(c.dxHighlight);
    const bool validExpire = c.dxExpire >= 0 && c.dxExpire <= MaxExpire;
    config().dxExpire = validExpire ? c.dxExpire : 0;
    txtExpire->setText(QString::number(config().dxExpire));
    connect(chkPlot, &QCheckBox::toggled, this, &frmDx::plotToggled);
    connect(chkIndicate, &QCheckBox::toggled, this, [](bool on) { config().dxHighlight = on; });
    connect(chkAllowSpotNotification, &QCheckBox::toggled, this, &frmDx::notificationToggled);
    if (c.dxNotify)
        chkAllowSpotNotification->setChecked(true);
    else
        ClearDxSpots();

    bandTable().SetupBands();
    createBandTabs();
    setTotal();
    SSActiveTabs1->setCurrentIndex(0);
    ShowTab(0);
    Timer1->start();
    resize(sizeHint());
}

frmDx::~frmDx() = default;

void frmDx::buildTabs()
{
    SSActiveTabs1 = new DxTabStrip(this);
    SSActiveTabs1->setObjectName(QStringLiteral("SSActiveTabs1"));
    SSActiveTabs1->addTab(SettingsTab);
    SSActiveTabs1->addTab(NotifiedTab);

    txtHeading = textBox(QStringLiteral("txtHeading"), this);
    txtHeading->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHeading->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHeading->setFocusPolicy(Qt::NoFocus);
    // The column names, and under them their units.
    txtHeading->setFixedHeight(2 * QFontMetrics(txtHeading->font()).lineSpacing() + 2 * txtHeading->frameWidth() + 8);
    txtSpots = textBox(QStringLiteral("txtSpots"), this);
    txtSpottedDX = textBox(QStringLiteral("txtSpottedDX"), this);
    // The heading scrolls sideways with the rows under it.
    connect(txtSpots->horizontalScrollBar(), &QScrollBar::valueChanged, txtHeading->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(txtSpottedDX->horizontalScrollBar(), &QScrollBar::valueChanged, txtHeading->horizontalScrollBar(),
            &QScrollBar::setValue);

    QWidget *settings = buildSettings();

    auto *panel = new QVBoxLayout;
    panel->setContentsMargins(4, 0, 4, 4);
    panel->setSpacing(0);
    panel->addWidget(txtHeading);
    panel->addWidget(txtSpots, 1);
    panel->addWidget(txtSpottedDX, 1);
    panel->addWidget(settings, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(SSActiveTabs1);
    layout->addLayout(panel, 1);

    connect(SSActiveTabs1, &DxTabStrip::currentChanged, this, &frmDx::tabSelected);
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { SSActiveTabs1->selectNext(1); });
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] { SSActiveTabs1->selectNext(-1); });
}

QWidget *frmDx::buildSettings()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("settingsPage"));
    frmSettings = new QGroupBox(QStringLiteral(" Settings "), page);
    frmSettings->setObjectName(QStringLiteral("frmSettings"));

    chkAllowSpotNotification = new QCheckBox(QStringLiteral("Allow Spot &Notification"), frmSettings);
    chkAllowSpotNotification->setObjectName(QStringLiteral("chkAllowSpotNotification"));
    chkIndicate = new QCheckBox(QStringLiteral("&Indicate new spots"), frmSettings);
    chkIndicate->setObjectName(QStringLiteral("chkIndicate"));
    chkPlot = new QCheckBox(QStringLiteral("&Plot DX on UIView32 map"), frmSettings);
    chkPlot->setObjectName(QStringLiteral("chkPlot"));

    txtExpire = new QLineEdit(frmSettings);
    txtExpire->setObjectName(QStringLiteral("txtExpire"));
    txtExpire->setMaxLength(5);
    txtExpire->setFixedWidth(QFontMetrics(txtExpire->font()).horizontalAdvance(QStringLiteral("00000")) + 16);
    txtExpire->setToolTip(QStringLiteral("Minutes a spot is kept, 0 to 120; 0 keeps spots for good"));
    txtExpire->installEventFilter(this);
    connect(txtExpire, &QLineEdit::editingFinished, this, &frmDx::expireEdited);
    auto *expireLabel = new QLabel(QStringLiteral("&Expire After"), frmSettings);
    expireLabel->setBuddy(txtExpire);

    txtNumSpots = new QLineEdit(frmSettings);
    txtNumSpots->setObjectName(QStringLiteral("txtNumSpots"));
    txtNumSpots->setReadOnly(true);
    txtNumSpots->setFixedWidth(txtExpire->width() + 16);
    txtNumSpots->setAlignment(Qt::AlignRight);
    auto *totalLabel = new QLabel(QStringLiteral("Total Spots"), frmSettings);

    auto *expireRow = new QHBoxLayout;
    expireRow->addWidget(txtExpire);
    expireRow->addWidget(new QLabel(QStringLiteral("Minutes"), frmSettings));
    expireRow->addStretch(1);
    auto *grid = new QGridLayout(frmSettings);
    grid->addWidget(chkAllowSpotNotification, 0, 0);
    grid->addWidget(chkIndicate, 1, 0);
    grid->addWidget(chkPlot, 2, 0);
    grid->addWidget(expireLabel, 0, 2);
    grid->addLayout(expireRow, 0, 3);
    grid->addWidget(totalLabel, 1, 2);
    grid->addWidget(txtNumSpots, 1, 3, Qt::AlignLeft);
    grid->setColumnMinimumWidth(1, 24);
    grid->setColumnStretch(4, 1);
    frmSettings->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    lstMonitor = new QTreeView(page);
    lstMonitor->setObjectName(QStringLiteral("lstMonitor"));
    lstMonitor->setModel(&m_monitor.prefixList());
    lstMonitor->setRootIsDecorated(false);
    lstMonitor->setUniformRowHeights(true);
    lstMonitor->setAllColumnsShowFocus(true);
    lstMonitor->setAlternatingRowColors(true);
    lstMonitor->header()->setSectionsClickable(true);
    lstMonitor->header()->setSortIndicatorShown(false);
    const int widths[] = {130, 160, 60, 70, 70, 80, 80, 80, 60};
    for (int column = 0; column < int(std::size(widths)); ++column)
        lstMonitor->header()->resizeSection(column, widths[column]);
    connect(lstMonitor->header(), &QHeaderView::sectionClicked, this, &frmDx::prefixHeaderClicked);
    connect(&m_monitor.prefixList(), &QAbstractItemModel::dataChanged, this, [this] {
        if (!m_loadingPrefixes)
            rememberTicks();
    });

    // The prefix list gives way first; below that the page scrolls, so the
    // settings never crowd each other in a short window.
    lstMonitor->setMinimumHeight(4 * lstMonitor->fontMetrics().height());
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(frmSettings);
    layout->addWidget(lstMonitor, 1);
    // Keeps the settings at the top while the prefix list is hidden.
    layout->addStretch(0);
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("settingsScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(page);
    m_settingsPage = scroller;
    return scroller;
}

void frmDx::createBandTabs()
{
    for (const BandDetail &band : bandTable().bands()) {
        const int index = ensureBandTab(band.name);
        SSActiveTabs1->setTabVisible(index, false);
    }
}

int frmDx::ensureBandTab(const QString &band)
{
    for (int i = 2; i < SSActiveTabs1->count(); ++i)
        if (SSActiveTabs1->tabText(i) == band)
            return i;
    return SSActiveTabs1->addTab(band);
}

int frmDx::tabIndex(const QString &caption) const
{
    for (int i = 0; i < SSActiveTabs1->count(); ++i)
        if (SSActiveTabs1->tabText(i).compare(caption, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int frmDx::tabMark(int index) const
{
    return SSActiveTabs1->tabMark(index);
}

void frmDx::tabSelected(int index)
{
    if (index < 0)
        return;
    SSActiveTabs1->setTabMark(index, 0);
    ShowTab(index);
}

void frmDx::ShowTab(int index)
{
    if (index < 0 || index >= SSActiveTabs1->count())
        return;
    if (index == 0) {
        setWindowTitle(kSettingsCaption);
        txtSpots->hide();
        txtSpottedDX->hide();
        m_settingsPage->show();
        txtHeading->hide();
        if (m_totalStale)
            setTotal();
        return;
    }
    if (index == 1) {
        setWindowTitle(kNotifiedCaption);
        txtSpots->hide();
        m_settingsPage->hide();
        txtSpottedDX->show();
        if (m_notifiedStale)
            showNotifiedBox();
        // The notified text carries its own heading, whose callsign column is narrower.
        txtHeading->hide();
        return;
    }
    txtSpots->show();
    m_settingsPage->hide();
    txtSpottedDX->hide();
    txtHeading->show();
    txtHeading->setPlainText(DxRows::bandHeading() + u'\n' + DxRows::bandUnits(m_distanceInMiles));

    const QString caption = SSActiveTabs1->tabText(index);
    QString rows;
    m_shownBand = caption;
    m_shownRecords.clear();
    const QList<DxStations> &records = m_monitor.spots().records();
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records[i].Band != caption)
            continue;
        rows += DxRows::bandRow(records[i]) + u'\n';
        m_shownRecords.append(i);
    }
    const int scroll = txtSpots->verticalScrollBar()->value();
    txtSpots->setPlainText(rows + u'\n');
    txtSpots->verticalScrollBar()->setValue(scroll);
    m_spotsStale = false;
    showBandCount();
}

void frmDx::showBandCount()
{
    const qsizetype n = m_shownRecords.size();
    setWindowTitle(kBandCaption + m_shownBand + QStringLiteral(" - ") + QString::number(n)
                   + (n < 2 ? kOneStation : kStations));
}

bool frmDx::showSpotInPlace(const SpotOutcome &outcome, const DxStations *record)
{
    // Only a band tab shown up to date can take one row: anything else is drawn whole.
    if (!record || m_spotsStale || m_refreshQueued || !txtSpots->isVisible() || outcome.band != m_shownBand
        || (!outcome.added && outcome.previousBand != outcome.band))
        return false;
    const qsizetype position = record - m_monitor.spots().records().constData();
    QTextCursor cursor(txtSpots->document());
    if (outcome.added) {
        // A new record is the last of the collection, so its row is the band's last.
        if (!m_shownRecords.isEmpty() && m_shownRecords.last() >= position)
            return false;
        cursor = QTextCursor(txtSpots->document()->findBlockByNumber(int(m_shownRecords.size())));
        cursor.insertText(DxRows::bandRow(*record) + u'\n');
        m_shownRecords.append(position);
        showBandCount();
        return true;
    }
    // A re-spot from the same spotter rewrites its row where it stands.
    const auto row = std::lower_bound(m_shownRecords.cbegin(), m_shownRecords.cend(), position);
    if (row == m_shownRecords.cend() || *row != position)
        return false;
    cursor = QTextCursor(txtSpots->document()->findBlockByNumber(int(row - m_shownRecords.cbegin())));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(DxRows::bandRow(*record));
    return true;
}

void frmDx::notificationToggled(bool on)
{
    config().dxNotify = on;
    if (on)
        LoadDxSpots();
    else
        ClearDxSpots();
}

void frmDx::expireEdited()
{
    const QString text = txtExpire->text().trimmed();
    qint32 minutes = text.isEmpty() ? 0 : leadingInteger(text);
    if (minutes < 0 || minutes > MaxExpire)
        minutes = 0;
    txtExpire->setText(QString::number(minutes));
    config().dxExpire = qint16(minutes);
}

void frmDx::prefixHeaderClicked(int section)
{
    m_prefixOrder = m_prefixOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_monitor.prefixList().sort(section, m_prefixOrder);
    lstMonitor->header()->setSortIndicatorShown(true);
    lstMonitor->header()->setSortIndicator(section, m_prefixOrder);
}

void frmDx::setTotal()
{
    m_totalStale = !txtNumSpots->isVisible();
    if (!m_totalStale)
        txtNumSpots->setText(QString::number(m_monitor.spots().count()));
}

bool frmDx::eventFilter(QObject *watched, QEvent *event)
{
    // The expiry box takes digits, backspace, tab, Enter and the copy and
    // paste keys; moving and deleting keys carry no text and pass.
    if (watched == txtExpire && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && key->key() != Qt::Key_Delete && !IsNumericKey(qint16(text.at(0).unicode())))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmDx::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        removeCloseCommand();
    return QWidget::event(event);
}

void frmDx::removeCloseCommand()
{
    auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!frame)
        return;
    // Without CustomizeWindowHint the frame ignores the hints; the close box
    // goes with the system menu hint.
    frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowMinMaxButtonsHint);
    if (QMenu *menu = frame->systemMenu())
        for (QAction *action : menu->actions())
            if (action->shortcut() == QKeySequence(QKeySequence::Close)
                || action->text().remove(u'&').compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
                action->setVisible(false);
                action->setEnabled(false);
            }
}

void frmDx::closeEvent(QCloseEvent *event)
{
    // The user has no close command here: a close is the program unloading.
    if (!m_unloaded) {
        m_unloaded = true;
        Timer1->stop();
        bandTable().SaveBandData();
    }
    event->accept();
}

void frmDx::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_spotsStale || m_notifiedStale)
        ShowTab(SSActiveTabs1->currentIndex());
    if (m_totalStale)
        setTotal();
}
