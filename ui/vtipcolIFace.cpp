#include "ui/vtipcolIFace.h"

#include "ui/frmTp_3D.h"

#include <QHeaderView>
#include <QTimer>
#include <QTreeView>

bool vtipcolIFace::USER_ABORTED() const { return frmTp_3D::aborted(); }

QStringList vtipcolIFace::SpawnVTip(QTreeView *LV_Hwnd, QWidget *FRM_Hwnd, int LV_ClientIndex, int NumberOfCols,
                                    int XBuff, int YBuff)
{
    QTreeView *list = LV_Hwnd;
    const QAbstractItemModel *model = list ? list->model() : nullptr;
    const int row = LV_ClientIndex - 1;
    if (!model || row < 0 || row >= model->rowCount(list->rootIndex()))
        return {};
    QHeaderView *header = list->header();

    const QModelIndex first = model->index(row, 0, list->rootIndex());
    list->scrollTo(first);
    // The row's own rectangle, so the editor covers exactly that row, the
    // last one included, whatever the style and font.
    const QRect rowRect = list->visualRect(first);
    int left = 0;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical)) {
            left = header->sectionViewportPosition(logical);
            break;
        }
    }
    const QPoint origin = list->viewport()->mapToGlobal(QPoint(left, rowRect.top()));

    QList<frmTp_3D::Column> columns;
    QStringList texts;
    for (int c = 0; c < header->count(); ++c)
        texts << model->index(row, c, list->rootIndex()).data(Qt::DisplayRole).toString();
    for (int visual = 0; visual < header->count() && columns.size() < NumberOfCols; ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        columns.append({logical, header->sectionSize(logical), texts.value(logical)});
    }

    frmTp_3D editor(FRM_Hwnd ? FRM_Hwnd->window() : list->window());
    const QFont font = list->font();
    editor.setColumns(columns, rowRect.height(), &font);
    editor.move(origin.x() + XBuff, origin.y() + YBuff);
    editor.setHoverClose(TT_HOVER_TIMER);
    if (onShown)
        QTimer::singleShot(0, &editor, [this, &editor] { onShown(&editor); });
    editor.exec();

    QStringList result = texts;
    const QStringList &edited = editor.results();
    for (const frmTp_3D::Column &column : columns)
        result[column.index] = edited.value(column.index);
    return result;
}
