#include "hostlogs/frmLogMaintenance.h"

#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/LoadingDialog.h"
#include "core/Prompts.h"
#include "core/Utilities.h"
#include "hostlogs/LogTransfer.h"
#include "hostlogs/frmLogDetails.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>

namespace {

const QString kSourceTitle = QStringLiteral("Select Source Log Folder");
const QString kDestinationTitle = QStringLiteral("Select Destination Log Folder");
const QString kDeleteTitle = QStringLiteral("Delete File");
const QString kDeleteQuestion = QStringLiteral("Move %1 to the trash?");
const QString kReplaceTitle = QStringLiteral("Replace Newer File");
const QString kReplaceQuestion = QStringLiteral("%1 in %2 is newer than the one being copied. Replace it?");
const char *const kMoveCaptions[4] = {"<", ">", "<<", ">>"};
const char *const kMoveTips[4] = {
    "Copy the selected destination file to the source folder",
    "Copy the selected source file to the destination folder",
    "Copy every destination file to the source folder",
    "Copy every source file to the destination folder",
};

} // namespace

frmLogMaintenance::frmLogMaintenance(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogMaintenance"));
    setWindowTitle(Caption);
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { refreshLists(); });

    QHBoxLayout *columns = new QHBoxLayout;
    for (const Side side : {Source, Destination}) {
        auto *frame = new QGroupBox(side == Source ? QStringLiteral("Source") : QStringLiteral("Destination"), this);
        frame->setObjectName(side == Source ? QStringLiteral("fraSource") : QStringLiteral("fraDest"));
        const QString prefix = side == Source ? QStringLiteral("Source") : QStringLiteral("Dest");

        auto *path = new QLineEdit(frame);
        path->setObjectName(QStringLiteral("txt") + prefix + QStringLiteral("Dir"));
        path->setReadOnly(true);
        auto *browse = new QPushButton(QStringLiteral("..."), frame);
        browse->setObjectName(QStringLiteral("cmd") + prefix + QStringLiteral("Browse"));
        browse->setToolTip(side == Source ? kSourceTitle : kDestinationTitle);
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
        connect(browse, &QPushButton::clicked, this, [this, side] { cmdBrowse_Click(side); });

        auto *files = new QListWidget(frame);
        files->setObjectName(side == Source ? QStringLiteral("flSource") : QStringLiteral("flDest"));
        files->setSelectionMode(QAbstractItemView::SingleSelection);
        // The file drawn as the current one is the one the arrows copy: a
        // list that gains focus makes its first file current, so current
        // means selected.
        connect(files, &QListWidget::currentItemChanged, files, [](QListWidgetItem *current) {
            if (current && !current->isSelected())
                current->setSelected(true);
        });
        files->installEventFilter(this);
        connect(files, &QListWidget::itemActivated, this, [this, side] { cmdDetails_Click(side); });

        auto *remove = new QPushButton(QStringLiteral("Delete"), frame);
        remove->setObjectName(QStringLiteral("cmd") + prefix + QStringLiteral("Delete"));
        remove->setToolTip(QStringLiteral("Move the selected file to the trash"));
        connect(remove, &QPushButton::clicked, this, [this, side] { cmdDelete_Click(side); });
        auto *details = new QPushButton(QStringLiteral("Details"), frame);
        details->setObjectName(QStringLiteral("cmd") + prefix + QStringLiteral("Details"));
        details->setToolTip(QStringLiteral("When the log begins and ends, and who was heard in it"));
        connect(details, &QPushButton::clicked, this, [this, side] { cmdDetails_Click(side); });

        auto *pathRow = new QHBoxLayout;
        pathRow->addWidget(path, 1);
        pathRow->addWidget(browse);
        auto *buttonRow = new QHBoxLayout;
        buttonRow->addWidget(remove);
        buttonRow->addWidget(details);
        buttonRow->addStretch(1);
        auto *frameLayout = new QVBoxLayout(frame);
        frameLayout->addLayout(pathRow);
        frameLayout->addWidget(files, 1);
        frameLayout->addLayout(buttonRow);

        if (side == Source) {
            txtSourceDir = path;
            flSource = files;
        } else {
            txtDestDir = path;
            flDest = files;
        }
        columns->addWidget(frame, 1);
        if (side == Destination)
            continue;

        // Between the two frames: the copy buttons and the move switch.
        auto *middle = new QVBoxLayout;
        middle->addStretch(1);
        for (int i : {1, 0, 3, 2}) {
            cmdMove[i] = new QPushButton(QLatin1String(kMoveCaptions[i]), this);
            cmdMove[i]->setObjectName(QStringLiteral("cmdMove%1").arg(i));
            cmdMove[i]->setToolTip(QLatin1String(kMoveTips[i]));
            cmdMove[i]->setAutoDefault(false);
            connect(cmdMove[i], &QPushButton::clicked, this, [this, i] { cmdMove_Click(i); });
            middle->addWidget(cmdMove[i]);
        }
        chkMoveFiles = new QCheckBox(QStringLiteral("Move Files"), this);
        chkMoveFiles->setObjectName(QStringLiteral("chkMoveFiles"));
        chkMoveFiles->setToolTip(QStringLiteral("Remove each file from the folder it was copied from"));
        middle->addSpacing(8);
        middle->addWidget(chkMoveFiles);
        middle->addStretch(1);
        columns->addLayout(middle);
    }

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(720, 420);

    flSource->setFocus();
    setFolder(Source, GetDataFolder() + QStringLiteral("/LogFiles"));
    const QString host = config().hostFolder;
    setFolder(Destination, host.isEmpty() ? QString() : host + QStringLiteral("/Logs"));
}

frmLogMaintenance *frmLogMaintenance::showFor(QWidget *owner)
{
    auto *dialog = new frmLogMaintenance(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose, true);
    CentreOnMain(dialog);
    dialog->open();
    return dialog;
}

void frmLogMaintenance::setFolder(Side side, const QString &folder)
{
    if (!m_folders[side].isEmpty() && m_folders[side] != m_folders[1 - side])
        m_watcher->removePath(m_folders[side]);
    m_folders[side] = QDir::cleanPath(folder);
    if (folder.isEmpty())
        m_folders[side].clear();
    pathBox(side)->setText(LongDirFix(m_folders[side], ShownPathLength));
    pathBox(side)->setToolTip(m_folders[side]);
    if (!m_folders[side].isEmpty() && QFileInfo(m_folders[side]).isDir())
        m_watcher->addPath(m_folders[side]);
    fillList(side);
}

void frmLogMaintenance::refreshLists()
{
    fillList(Source);
    fillList(Destination);
}

void frmLogMaintenance::fillList(Side side)
{
    QListWidget *files = list(side);
    const QString selected = files->currentItem() ? files->currentItem()->text() : QString();
    files->clear();
    files->addItems(LogTransfer::filesIn(m_folders[side]));
    const QList<QListWidgetItem *> again = files->findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !again.isEmpty())
        files->setCurrentItem(again.first());
}

QString frmLogMaintenance::selectedPath(Side side) const
{
    const QListWidgetItem *item = list(side)->currentItem();
    if (!item || !item->isSelected() || m_folders[side].isEmpty())
        return {};
    return m_folders[side] + u'/' + item->text();
}

void frmLogMaintenance::cmdBrowse_Click(Side side)
{
    if (m_transferring)
        return;
    const QString chosen = BrowseForFolder(this, side == Source ? kSourceTitle : kDestinationTitle);
    if (!chosen.isEmpty())
        setFolder(side, chosen);
}

void frmLogMaintenance::cmdMove_Click(int index)
{
    // 0 "<" and 2 "<<" copy from the destination side; 1 ">" and 3 ">>" from the source side.
    const Side from = index % 2 == 0 ? Destination : Source;
    QStringList names;
    if (index < 2) {
        const QListWidgetItem *item = list(from)->currentItem();
        if (!item || !item->isSelected())
            return;
        names << item->text();
    } else {
        names = LogTransfer::filesIn(m_folders[from]);
    }
    transfer(from, names);
}

namespace {

// The bytes go on a worker thread while the event loop runs on: a busy
// host's log is hundreds of megabytes, copied, synced and read back.
// *quitting: the program asked every event loop to end while this file went;
// the caller copies no more.
bool transferOffThread(const QString &path, const QString &folder, bool move, QString *error, bool *quitting)
{
    struct Outcome
    {
        bool done = false;
        QString error;
    };
    QFutureWatcher<Outcome> watcher;
    QEventLoop wait;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &wait, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([path, folder, move] {
        Outcome outcome;
        outcome.done = move ? LogTransfer::moveFile(path, folder, &outcome.error)
                            : LogTransfer::copyFile(path, folder, &outcome.error);
        return outcome;
    }));
    if (!watcher.isFinished())
        wait.exec();
    // A quit ends this loop (or refuses to start it) before the file is done.
    *quitting = !watcher.isFinished();
    watcher.waitForFinished();
    const Outcome outcome = watcher.result();
    *error = outcome.error;
    return outcome.done;
}

} // namespace

void frmLogMaintenance::transfer(Side from, const QStringList &names)
{
    const Side to = from == Source ? Destination : Source;
    if (m_transferring || names.isEmpty() || m_folders[from].isEmpty())
        return;
    m_transferring = true;
    m_closeAsked = false;
    const bool move = chkMoveFiles->isChecked();
    std::unique_ptr<LoadingDialog> progress;
    if (names.size() > 1) {
        progress = std::make_unique<LoadingDialog>(this);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setRange(int(names.size()));
        progress->setCancelEnabled(true);
        progress->start();
    }
    // The folder watcher would refill the lists under the loop's feet.
    const QSignalBlocker quiet(m_watcher);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (progress) {
            progress->setLabel((move ? QStringLiteral("Moving ") : QStringLiteral("Copying ")) + names[i]);
            progress->step(int(i));
            if (progress->cancelled())
                break;
        }
        if (m_closeAsked)
            break;
        const QString path = m_folders[from] + u'/' + names[i];
        // The file there may hold lines this one lacks (the host's live log).
        if (LogTransfer::newerThere(path, m_folders[to])) {
            const Prompts::Answer answer = Prompts::instance().message(
                kReplaceQuestion.arg(names[i], m_folders[to]), kReplaceTitle,
                names.size() > 1 ? Prompts::Buttons::YesNoCancel : Prompts::Buttons::YesNo, Prompts::Icon::Question);
            if (answer == Prompts::Answer::Cancel)
                break;
            if (answer != Prompts::Answer::Yes)
                continue;
        }
        QString error;
        const QPointer<frmLogMaintenance> alive(this);
        bool quitting = false;
        const bool done = transferOffThread(path, m_folders[to], move, &error, &quitting);
        if (!alive)
            return;  // the program is closing under us
        if (quitting)
            break;
        if (!done) {
            progress.reset();
            reportError(QStringLiteral("cmdMove_Click"), error);
            break;
        }
    }
    progress.reset();
    // A destination folder made by the copy is watched from now on.
    setFolder(to, m_folders[to]);
    fillList(from);
    m_transferring = false;
    if (m_closeAsked)
        QDialog::done(m_closeResult);
}

void frmLogMaintenance::done(int result)
{
    if (!m_transferring) {
        QDialog::done(result);
        return;
    }
    m_closeAsked = true;
    m_closeResult = result;
}

void frmLogMaintenance::closeEvent(QCloseEvent *event)
{
    if (m_transferring) {
        m_closeAsked = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmLogMaintenance::cmdDelete_Click(Side side)
{
    const QString path = selectedPath(side);
    if (m_transferring || path.isEmpty())
        return;
    const QString name = list(side)->currentItem()->text();
    if (Prompts::instance().message(kDeleteQuestion.arg(name), kDeleteTitle, Prompts::Buttons::YesNo,
                                    Prompts::Icon::Question)
        != Prompts::Answer::Yes)
        return;
    if (!QFile::moveToTrash(path))
        reportError(QStringLiteral("cmdDelete_Click"),
                    QStringLiteral("%1 could not be moved to the trash").arg(name));
    fillList(side);
}

void frmLogMaintenance::cmdDetails_Click(Side side)
{
    const QString path = selectedPath(side);
    if (!path.isEmpty())
        frmLogDetails::showFor(this, path);
}

bool frmLogMaintenance::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        if (watched == flSource || watched == flDest) {
            cmdDelete_Click(watched == flSource ? Source : Destination);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
