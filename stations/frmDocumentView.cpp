// How a station list looks and what it offers beyond its rows: the font and
// the column widths, the row's context menu, printing.
#include "stations/frmDocument.h"

#include "core/Clock.h"
#include "core/LoadingDialog.h"
#include "stations/StationListPrint.h"
#include "stations/subFunctions.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QUrl>

namespace {
using Col = StationListModel::Column;
// Up to about this many rows a print takes well under a second.
constexpr int kRowsPrintedAtOnce = 2000;
const QString kPrintingCaption = QStringLiteral("Preparing the pages");
} // namespace

QMenu *frmDocument::rowMenu(int row)
{
    auto *menu = new QMenu(this);
    if (row < 0 || row >= m_model.count())
        return menu;
    selectRow(row);
    UpdateWxTool(true);
    const QString callsign = m_model.cell(row, Col::Station);
    const QString log = m_model.cell(row, Col::LogFile);
    auto add = [menu](const QString &text, const char *name) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    // The actions find the row again by callsign: frames may move it while the menu is open.
    connect(add(QStringLiteral("Station &Information"), "actStationInfo"), &QAction::triggered, this,
            [callsign] { ShowStationInfoFor(callsign); });
    connect(add(QStringLiteral("&Plot Path"), "actPlotPath"), &QAction::triggered, this, [this, callsign] {
        const int r = m_model.find(callsign);
        selectRow(r);
        PlotStationPathOnUIMap(r);
    });
    menu->addSeparator();
    QAction *logging = add(QStringLiteral("&Log to File..."), "actLog");
    logging->setCheckable(true);
    logging->setChecked(m_model.row(row).checked);
    connect(logging, &QAction::triggered, this, [this, callsign](bool on) {
        if (const int r = m_model.find(callsign); r >= 0)
            m_model.setData(m_model.index(r, Col::Station), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    });
    QAction *openLog = add(QStringLiteral("&Open Log File"), "actOpenLog");
    openLog->setEnabled(!log.isEmpty());
    connect(openLog, &QAction::triggered, this, [log] { QDesktopServices::openUrl(QUrl::fromLocalFile(log)); });
    menu->addSeparator();
    connect(add(QStringLiteral("&Copy Callsign"), "actCopyCallsign"), &QAction::triggered, this,
            [callsign] { QGuiApplication::clipboard()->setText(callsign); });
    return menu;
}

void frmDocument::setListFont(const QString &family)
{
    QFont font = lstView->font();
    font.setFamily(family);
    applyListFont(font);
}

void frmDocument::setListFontSize(int pointSize)
{
    if (!fontSizeFits(pointSize))
        return;
    QFont font = lstView->font();
    font.setPointSize(pointSize);
    applyListFont(font);
}

void frmDocument::applyListFont(const QFont &font)
{
    lstView->setFont(font);
    lstView->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    fitColumns();
}

void frmDocument::fitColumns()
{
    // What a column typically holds, so that a list fits its rows before and
    // after they arrive, in whatever font.
    static const QString kTypical[] = {
        QStringLiteral("MW0WWW-15"), QStringLiteral("Mobile"), QStringLiteral("Yes"), QStringLiteral("10000"),
        QStringLiteral("G3KDC-1*,WIDE2-1 Port=1 "), QStringLiteral("51.45.67N"), QStringLiteral("001.15.71W"),
        QStringLiteral("9999"), QStringLiteral("Monitoring 144.800 MHz"), QStringLiteral("2026-12-06 12:29:00"),
        QString(), QStringLiteral("41216 ft")};
    static_assert(std::size(kTypical) == StationListModel::ColumnCount);
    QHeaderView *header = lstView->horizontalHeader();
    const QFontMetrics metrics = lstView->fontMetrics();
    QStyle *style = lstView->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstView) + 1) + 4;
    // Room for the sort mark, so a sorted heading is not cut.
    const int mark = style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + 4;
    const int box = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, lstView) + 4;
    const int icon = lstView->iconSize().isValid() ? lstView->iconSize().width() + 4 : 20;
    const QAbstractItemView *view = lstView;
    for (int c = 0; c < StationListModel::ColumnCount; ++c) {
        int typical = kTypical[c].isEmpty() ? 0 : metrics.horizontalAdvance(kTypical[c]) + margins;
        if (c == Col::Station)
            typical += box;
        if (c == Col::Type)
            typical += icon;
        int width = qMax(header->sectionSizeHint(c) + mark, typical);
        if (m_model.count() > 0)
            width = qMax(width, view->sizeHintForColumn(c));
        header->resizeSection(c, width);
    }
}

bool frmDocument::print(QPagedPaintDevice &device, QString *errorText)
{
    StationListPrint table(m_model, windowTitle(), Clock::instance().now().toString(TimeForm), lstView->font());
    if (m_model.count() < kRowsPrintedAtOnce)
        return table.print(device, errorText);
    // A long list takes seconds to lay out and paint: the program stays
    // responsive and the user may stop it. No parent: this window may close
    // meanwhile, and the table no longer needs it.
    LoadingDialog progress;
    progress.setWindowTitle(kPrintingCaption);
    progress.setLabel(kPrintingCaption);
    progress.setRange(1000);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.start();
    table.setProgress([&progress](int permille) {
        progress.step(permille);
        return !progress.cancelled();
    });
    const bool printed = table.print(device, errorText);
    progress.finish();
    return printed;
}
