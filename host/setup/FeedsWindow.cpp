#include "host/setup/FeedsWindow.h"

#include "host/EmbeddedHost.h"
#include "host/feeds/Feed.h"
#include "host/setup/FeedForm.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QString where(const FeedSettings &feed)
{
    if (feed.type == FeedSettings::Type::Replay || feed.type == FeedSettings::Type::DxReplay)
        return QFileInfo(feed.file).fileName();
    if (feed.type == FeedSettings::Type::SerialKiss)
        return feed.device;
    return feed.host + u':' + QString::number(feed.port);
}

} // namespace

FeedsWindow::FeedsWindow(EmbeddedHost *host, QWidget *parent)
    : QDialog(parent, Qt::Window)
    , m_host(host)
{
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("frmFeeds"));
    lstFeeds = new QTreeWidget(this);
    lstFeeds->setObjectName(QStringLiteral("lstFeeds"));
    lstFeeds->setRootIsDecorated(false);
    lstFeeds->setHeaderLabels({QStringLiteral("Feed"), QStringLiteral("Type"), QStringLiteral("State"),
                               QStringLiteral("Connected since"), QStringLiteral("Frames/min"),
                               QStringLiteral("Last error")});
    lstFeeds->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstFeeds->setMinimumWidth(720);
    form = new FeedForm(this);
    form->setHostFolder(host->hostFolder());
    lblProblem = new QLabel(this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setStyleSheet(QStringLiteral("color: #b00020"));
    lblProblem->setWordWrap(true);
    lblProblem->setTextFormat(Qt::PlainText);
    btnAdd = button(QStringLiteral("&Add"), "btnAdd", this);
    btnRemove = button(QStringLiteral("&Remove"), "btnRemove", this);
    btnEnable = button(QStringLiteral("&Disable"), "btnEnable", this);
    btnReconnect = button(QStringLiteral("Reconnect &now"), "btnReconnect", this);
    btnApply = button(QStringLiteral("A&pply"), "btnApply", this);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto *listButtons = new QHBoxLayout;
    for (QPushButton *b : {btnAdd, btnRemove, btnEnable, btnReconnect})
        listButtons->addWidget(b);
    listButtons->addStretch(1);
    auto *formButtons = new QHBoxLayout;
    formButtons->addStretch(1);
    formButtons->addWidget(btnApply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstFeeds, 1);
    layout->addLayout(listButtons);
    layout->addWidget(form);
    layout->addWidget(lblProblem);
    layout->addLayout(formButtons);
    layout->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(lstFeeds, &QTreeWidget::itemSelectionChanged, this, &FeedsWindow::selectionChanged);
    connect(btnAdd, &QPushButton::clicked, this, &FeedsWindow::startNew);
    connect(btnRemove, &QPushButton::clicked, this, &FeedsWindow::removeSelected);
    connect(btnEnable, &QPushButton::clicked, this, &FeedsWindow::toggleSelected);
    connect(btnReconnect, &QPushButton::clicked, this, [this] {
        if (const int i = selectedIndex(); i >= 0)
            m_host->reconnectFeed(m_feeds[i].name);
        refreshStates();
    });
    connect(btnApply, &QPushButton::clicked, this, &FeedsWindow::apply);
    connect(host, &EmbeddedHost::feedsChanged, this, &FeedsWindow::reload);
    // The states change by themselves: connecting, retrying, frames counted.
    connect(&m_tick, &QTimer::timeout, this, &FeedsWindow::refreshStates);
    m_tick.start(1000);
    reload();
    if (m_feeds.isEmpty())
        startNew();
    else
        lstFeeds->setCurrentItem(lstFeeds->topLevelItem(0));
}

int FeedsWindow::selectedIndex() const
{
    const QTreeWidgetItem *item = lstFeeds->currentItem();
    return item ? lstFeeds->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) : -1;
}

void FeedsWindow::reload()
{
    const QString selected = selectedIndex() >= 0 ? m_feeds[selectedIndex()].name : QString();
    m_feeds = m_host->config().feeds;
    const QSignalBlocker quiet(lstFeeds);
    lstFeeds->clear();
    for (const FeedSettings &feed : m_feeds) {
        auto *item = new QTreeWidgetItem(lstFeeds);
        item->setText(Name, feed.name + QStringLiteral(" \u2014 ") + where(feed));
        item->setText(Kind, HostConfig::typeName(feed.type));
        if (feed.name == selected)
            lstFeeds->setCurrentItem(item);
    }
    refreshStates();
}

QString FeedsWindow::stateOf(const QString &section) const
{
    for (int i = 0; i < m_feeds.size(); ++i)
        if (m_feeds[i].name.compare(section, Qt::CaseInsensitive) == 0)
            return lstFeeds->topLevelItem(i)->text(State);
    return {};
}

void FeedsWindow::refreshStates()
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < m_feeds.size() && i < lstFeeds->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lstFeeds->topLevelItem(i);
        const Feed *feed = m_host->feed(m_feeds[i].name);
        QString state = QStringLiteral("disabled"), since, perMinute, error;
        if (feed) {
            state = feed->stateText().toLower();
            if (feed->connectedSince().isValid()) {
                state = QStringLiteral("connected");
                since = feed->connectedSince().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            } else if (feed->retryAt().isValid()) {
                state = QStringLiteral("retry in %1 s").arg(std::max<qint64>(0, (now.msecsTo(feed->retryAt()) + 999) / 1000));
            }
            perMinute = QString::number(feed->framesInLastMinute());
            error = feed->lastError();
        }
        item->setText(State, state);
        item->setText(Since, since);
        item->setText(PerMinute, perMinute);
        item->setText(LastError, error);
        item->setToolTip(LastError, error);
    }
    const int i = selectedIndex();
    btnRemove->setEnabled(i >= 0);
    btnEnable->setEnabled(i >= 0);
    btnReconnect->setEnabled(i >= 0 && m_feeds[i].enabled);
    btnEnable->setText(i >= 0 && !m_feeds[i].enabled ? QStringLiteral("&Enable") : QStringLiteral("&Disable"));
}

void FeedsWindow::selectionChanged()
{
    lblProblem->clear();
    m_editing = selectedIndex();
    if (m_editing >= 0)
        form->load(m_feeds[m_editing]);
    refreshStates();
}

void FeedsWindow::startNew()
{
    lblProblem->clear();
    {
        const QSignalBlocker quiet(lstFeeds);
        lstFeeds->setCurrentItem(nullptr);
        lstFeeds->clearSelection();
    }
    m_editing = -1;
    FeedSettings blank;
    blank.type = FeedSettings::Type::AprsIs;
    blank.idleTimeoutSeconds = FeedSettings::defaultIdleTimeout(blank.type);
    form->load(blank);
    form->txtHost->setFocus();
    refreshStates();
}

bool FeedsWindow::write(const QList<FeedSettings> &feeds)
{
    QString problem;
    if (!m_host->applyFeeds(feeds, &problem)) {
        lblProblem->setText(QStringLiteral("The feeds could not be saved: %1").arg(problem));
        return false;
    }
    return true;
}

bool FeedsWindow::apply()
{
    lblProblem->clear();
    const FeedSettings base = m_editing >= 0 ? m_feeds[m_editing] : FeedSettings();
    FeedSettings feed;
    QString problem;
    if (!form->read(base, &feed, &problem)) {
        lblProblem->setText(problem);
        return false;
    }
    QList<FeedSettings> feeds = m_feeds;
    if (m_editing >= 0)
        feeds[m_editing] = feed;
    else
        feeds.append(feed);
    if (!write(feeds))
        return false;
    // The new one stays in the form, now as a listed feed.
    const int index = m_editing >= 0 ? m_editing : int(m_feeds.size()) - 1;
    if (index >= 0 && index < lstFeeds->topLevelItemCount())
        lstFeeds->setCurrentItem(lstFeeds->topLevelItem(index));
    return true;
}

void FeedsWindow::removeSelected()
{
    const int i = selectedIndex();
    if (i < 0)
        return;
    QList<FeedSettings> feeds = m_feeds;
    feeds.removeAt(i);
    if (write(feeds))
        startNew();
}

void FeedsWindow::toggleSelected()
{
    const int i = selectedIndex();
    if (i < 0)
        return;
    QList<FeedSettings> feeds = m_feeds;
    feeds[i].enabled = !feeds[i].enabled;
    write(feeds);
}
