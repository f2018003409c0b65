// The DX Cluster tab's band list: filled from the band table, edited in place
// with the row editor, reset to the built-in bands, applied back.
#include "options/frmOptions.h"

#include "core/Prompts.h"
#include "dx/BandTable.h"
#include "options/NumberText.h"
#include "ui/vtipcolIFace.h"

#include <QCheckBox>
#include <QFile>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kResetQuestion = QStringLiteral(
    "This will reset the band data back to the Kestrel defaults. Are you sure you wish to do this.");
const QString kResetTitle = QStringLiteral("Reset Band Data");
const QString kBadEdge = QStringLiteral("The %1 band edge must be a whole number of kHz; the band was left as it was.");

// An edge typed into the row editor: a number of kHz, rounded half to even.
bool edgeFrom(const QString &text, qint32 *out)
{
    double value = 0;
    return NumberText::strictNumber(text, &value) && NumberText::toInt32(value, out);
}

} // namespace

void frmOptions::fillBands()
{
    const bool loading = m_loading;
    m_loading = true;
    lstBands->clear();
    for (const BandDetail &band : bandTable().bands()) {
        auto *item = new QTreeWidgetItem(lstBands, {band.name, QString::number(band.lower), QString::number(band.upper)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, band.enabled ? Qt::Checked : Qt::Unchecked);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < 3; ++column) {
        lstBands->resizeColumnToContents(column);
        lstBands->setColumnWidth(column, lstBands->columnWidth(column) + 16);
    }
    m_loading = loading;
}

void frmOptions::editBand(QTreeWidgetItem *item)
{
    if (!item)
        return;
    vtipcolIFace editor;
    const int row = lstBands->indexOfTopLevelItem(item);
    const QStringList texts = editor.SpawnVTip(lstBands, this, row + 1, 3);
    if (editor.USER_ABORTED() || texts.size() < 3)
        return;
    qint32 lower = 0, upper = 0;
    if (!edgeFrom(texts[1], &lower) || !edgeFrom(texts[2], &upper)) {
        const QString which = edgeFrom(texts[1], &lower) ? QStringLiteral("upper") : QStringLiteral("lower");
        Prompts::instance().message(kBadEdge.arg(which), QStringLiteral("Error"), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        return;
    }
    const QStringList shown = {texts[0], QString::number(lower), QString::number(upper)};
    bool changed = false;
    for (int column = 0; column < 3; ++column)
        if (item->text(column) != shown[column]) {
            item->setText(column, shown[column]);
            changed = true;
        }
    if (changed)
        enableApply();
}

QRect frmOptions::bandCheckRect(QTreeWidgetItem *item) const
{
    // The delegate's own description of the cell, so the style places the
    // box where it draws it.
    struct CellOption : QStyledItemDelegate
    {
        using QStyledItemDelegate::initStyleOption;
    } delegate;
    const QModelIndex index = lstBands->indexFromItem(item, 0);
    QStyleOptionViewItem option;
    option.initFrom(lstBands->viewport());
    option.rect = lstBands->visualRect(index);
    option.widget = lstBands;
    delegate.initStyleOption(&option, index);
    return lstBands->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, lstBands);
}

void frmOptions::bandRowReleased(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !chkAllowEdit->isChecked())
        return;
    const QPoint at = event->position().toPoint();
    QTreeWidgetItem *item = lstBands->itemAt(at);
    // A click on the tick box only ticks the band.
    if (!item || bandCheckRect(item).contains(at))
        return;
    // Once the list has finished with the click, not inside it.
    const int row = lstBands->indexOfTopLevelItem(item);
    QTimer::singleShot(0, this, [this, row] {
        if (row < lstBands->topLevelItemCount())
            editBand(lstBands->topLevelItem(row));
    });
}

void frmOptions::cmdReset_Click()
{
    if (Prompts::instance().message(kResetQuestion, kResetTitle, Prompts::Buttons::YesNo, Prompts::Icon::Question)
        != Prompts::Answer::Yes)
        return;
    const QString path = BandTable::defaultPath();
    if (QFile::exists(path))
        QFile::remove(path);
    bandTable().SetupBands();
    fillBands();
    enableApply();
}

void frmOptions::applyBands()
{
    QList<BandDetail> bands;
    for (int i = 0; i < lstBands->topLevelItemCount() && i < BandTable::Capacity; ++i) {
        const QTreeWidgetItem *row = lstBands->topLevelItem(i);
        BandDetail band;
        band.name = row->text(0);
        band.lower = row->text(1).toInt();
        band.upper = row->text(2).toInt();
        band.enabled = row->checkState(0) == Qt::Checked;
        bands.append(band);
    }
    bandTable().setBands(bands);
}
