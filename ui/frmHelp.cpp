#include "ui/frmHelp.h"

#include "core/MainWindowPort.h"
#include "core/Utilities.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The program's guide window, and one for the modal dialog that holds the
// input (a window of the program's own would be blocked by it).
QPointer<frmHelp> g_window;
QPointer<frmHelp> g_dialogWindow;

constexpr int kFileRole = Qt::UserRole;
const QColor kMark(255, 236, 140);

QToolButton *button(QWidget *parent, QStyle::StandardPixmap icon, const QString &tip, const QKeySequence &keys)
{
    auto *b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + u')');
    b->setShortcut(keys);
    b->setAutoRaise(true);
    return b;
}

// Pictures of windows wider than a page can show are shown smaller.
class GuideBrowser : public QTextBrowser
{
public:
    static constexpr int WidestPicture = 640;
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource)
            return resource;
        QImage picture = resource.typeId() == QMetaType::QImage ? resource.value<QImage>()
                                                                 : QImage::fromData(resource.toByteArray());
        if (picture.width() > WidestPicture)
            picture = picture.scaledToWidth(WidestPicture, Qt::SmoothTransformation);
        return picture.isNull() ? resource : QVariant(picture);
    }
};

// F1 from anywhere in the program.
class HelpKey : public QObject
{
public:
    explicit HelpKey(QObject *owner) : QObject(owner) { qApp->installEventFilter(this); }
    ~HelpKey() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
            return false;
        // The key's receiver is where the user pressed it, even when another
        // top-level window (the host's map) has just taken the focus.
        frmHelp::openFor(static_cast<QWidget *>(watched));
        return true;
    }
};

} // namespace

frmHelp::frmHelp(const HelpGuide &guide, QWidget *parent) : QWidget(parent, Qt::Window), m_guide(guide)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose, true);

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Words to find in the guide"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->installEventFilter(this);
    auto *searchLabel = new QLabel(QStringLiteral("&Search"), this);
    searchLabel->setBuddy(txtSearch);

    lstTopics = new QListWidget(this);
    lstTopics->setObjectName(QStringLiteral("lstTopics"));
    lstTopics->setWordWrap(true);
    lstTopics->setAccessibleName(QStringLiteral("Pages"));

    txtPage = new GuideBrowser(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setOpenLinks(false);
    txtPage->setSearchPaths({m_guide.folder()});
    txtPage->document()->setDefaultStyleSheet(QStringLiteral(
        "h1 { font-size: x-large; } h2 { font-size: large; margin-top: 14px; }"
        "code, pre { font-family: monospace; } td, th { padding: 2px 8px 2px 0; } th { text-align: left; }"));

    auto *back = button(this, QStyle::SP_ArrowBack, QStringLiteral("Back"), QKeySequence::Back);
    auto *forward = button(this, QStyle::SP_ArrowForward, QStringLiteral("Forward"), QKeySequence::Forward);
    auto *home = button(this, QStyle::SP_DirHomeIcon, QStringLiteral("Contents"), QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setObjectName(QStringLiteral("cmdBack"));
    forward->setObjectName(QStringLiteral("cmdForward"));
    home->setObjectName(QStringLiteral("cmdContents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QToolButton::clicked, txtPage, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, txtPage, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { showPage(HelpGuide::ContentsPage); });
    connect(txtPage, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(txtPage, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);

    auto *find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        txtSearch->setFocus();
        txtSearch->selectAll();
    });
    addAction(find);
    auto *close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto *tools = new QHBoxLayout;
    tools->addWidget(back);
    tools->addWidget(forward);
    tools->addWidget(home);
    tools->addStretch();
    sideLayout->addLayout(tools);
    sideLayout->addWidget(searchLabel);
    sideLayout->addWidget(txtSearch);
    sideLayout->addWidget(lstTopics, 1);

    auto *split = new QSplitter(this);
    split->addWidget(side);
    split->addWidget(txtPage);
    split->setStretchFactor(1, 1);
    split->setSizes({230, 670});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(split);
    setTabOrder(txtSearch, lstTopics);
    setTabOrder(lstTopics, txtPage);

    connect(txtSearch, &QLineEdit::textChanged, this, &frmHelp::listTopics);
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        openTopic(lstTopics->currentRow() >= 0 ? lstTopics->currentRow() : 0);
    });
    connect(lstTopics, &QListWidget::currentRowChanged, this, &frmHelp::openTopic);
    connect(lstTopics, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        openTopic(lstTopics->row(item));
        txtPage->setFocus();
    });
    connect(txtPage, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        // Pages of the guide only; the guide links nowhere else.
        const QString file = url.fileName();
        if (url.isRelative() || url.isLocalFile())
            if (m_guide.page(file)) {
                m_query.clear();
                txtPage->setSource(QUrl::fromLocalFile(m_guide.path(file)));
                if (!url.fragment().isEmpty())
                    txtPage->scrollToAnchor(url.fragment());
            }
    });
    connect(txtPage, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        markQuery();
        // The list follows the page shown, unless it lists search results.
        if (!txtSearch->text().trimmed().isEmpty())
            return;
        // Not source(): the browser tells of the new page before its history has it.
        const QString file = url.fileName();
        for (int row = 0; row < lstTopics->count(); ++row)
            if (lstTopics->item(row)->data(kFileRole).toString() == file) {
                const QSignalBlocker quiet(lstTopics);
                lstTopics->setCurrentRow(row);
            }
    });

    listTopics();
    resize(920, 660);
}

frmHelp *frmHelp::window()
{
    // A modal dialog holds the input: a window of its own, which closes with it.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (g_dialogWindow && g_dialogWindow->parentWidget() == modal)
            return g_dialogWindow;
        HelpGuide guide;
        if (!guide.load(HelpGuide::shippedFolder()))
            return nullptr;
        g_dialogWindow = new frmHelp(guide, modal);
        return g_dialogWindow;
    }
    if (g_window)
        return g_window;
    HelpGuide guide;
    if (!guide.load(HelpGuide::shippedFolder()))
        return nullptr;
    g_window = new frmHelp(guide, MainWindowPort::widget());
    return g_window;
}

void frmHelp::bringForward()
{
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

frmHelp *frmHelp::open(const QString &page)
{
    frmHelp *help = window();
    if (!help)
        return nullptr;
    if (!help->txtSearch->text().isEmpty())
        help->txtSearch->clear();
    help->showPage(page.isEmpty() ? HelpGuide::ContentsPage : page);
    help->bringForward();
    help->lstTopics->setFocus();
    return help;
}

frmHelp *frmHelp::openSearch()
{
    frmHelp *help = window();
    if (!help)
        return nullptr;
    if (help->currentPage().isEmpty())
        help->showPage(HelpGuide::ContentsPage);
    help->bringForward();
    help->txtSearch->setFocus();
    help->txtSearch->selectAll();
    return help;
}

frmHelp *frmHelp::openFor(const QWidget *widget)
{
    frmHelp *help = window();
    if (!help)
        return nullptr;
    return open(pageFor(widget, help->guide()));
}

QString frmHelp::pageFor(const QWidget *widget, const HelpGuide &guide)
{
    // F1 in the frame of the main window, outside any child: the active child's page.
    if (widget && widget->isWindow())
        if (const auto *area = widget->findChild<QMdiArea *>())
            if (const QMdiSubWindow *sub = area->activeSubWindow(); sub && sub->widget() && sub->isVisible())
                widget = sub->widget();
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QString page = guide.pageForWindow(w->objectName());
        if (!page.isEmpty())
            return page;
    }
    return HelpGuide::ContentsPage;
}

void frmHelp::installHelpKey(QObject *owner)
{
    new HelpKey(owner);
}

QString frmHelp::currentPage() const
{
    return txtPage->source().fileName();
}

void frmHelp::showPage(const QString &file)
{
    const QString name = m_guide.page(file) ? file : HelpGuide::ContentsPage;
    const QUrl url = QUrl::fromLocalFile(m_guide.path(name));
    if (txtPage->source() == url)
        markQuery();
    else
        txtPage->setSource(url);
}

void frmHelp::listTopics()
{
    const QSignalBlocker quiet(lstTopics);
    lstTopics->clear();
    const QString query = txtSearch->text().trimmed();
    if (query.isEmpty()) {
        for (const HelpGuide::Page &page : m_guide.pages()) {
            auto *item = new QListWidgetItem(page.title, lstTopics);
            item->setData(kFileRole, page.file);
        }
        const QString file = currentPage();
        for (int row = 0; row < lstTopics->count(); ++row)
            if (lstTopics->item(row)->data(kFileRole).toString() == file)
                lstTopics->setCurrentRow(row);
        return;
    }
    const QList<HelpGuide::Hit> hits = m_guide.search(query);
    for (const HelpGuide::Hit &hit : hits) {
        auto *item = new QListWidgetItem(hit.title + u'\n' + hit.excerpt, lstTopics);
        item->setData(kFileRole, hit.file);
        item->setToolTip(hit.excerpt);
    }
    if (hits.isEmpty()) {
        auto *none = new QListWidgetItem(QStringLiteral("No page holds all of these words."), lstTopics);
        none->setFlags(Qt::NoItemFlags);
    }
}

void frmHelp::openTopic(int row)
{
    QListWidgetItem *item = lstTopics->item(row);
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    m_query = txtSearch->text().trimmed();
    showPage(item->data(kFileRole).toString());
}

void frmHelp::markQuery()
{
    QList<QTextEdit::ExtraSelection> marks;
    QTextCursor first;
    for (const QString &word : HelpGuide::queryWords(m_query)) {
        QTextCursor at(txtPage->document());
        while (true) {
            at = txtPage->document()->find(word, at);
            if (at.isNull())
                break;
            QTextEdit::ExtraSelection mark;
            mark.cursor = at;
            mark.format.setBackground(kMark);
            marks << mark;
            if (first.isNull() || at.position() < first.position())
                first = at;
        }
    }
    txtPage->setExtraSelections(marks);
    if (!first.isNull()) {
        QTextCursor start(first);
        start.clearSelection();
        txtPage->setTextCursor(start);
        txtPage->ensureCursorVisible();
    }
}

bool frmHelp::eventFilter(QObject *watched, QEvent *event)
{
    // Down from the search field goes into the list of results.
    if (watched == txtSearch && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down && lstTopics->count() > 0) {
        lstTopics->setFocus();
        if (lstTopics->currentRow() < 0)
            lstTopics->setCurrentRow(0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
