#pragma once

#include <QStringList>

class QTreeView;
class QWidget;
class frmTp_3D;

#include <functional>

// Edits one row of a list in place: opens frmTp_3D exactly over the row,
// one box per column in the order the user sees them, and returns the texts
// by column index when it closes.
class vtipcolIFace
{
public:
    // When true the editor closes by itself as soon as the pointer leaves it.
    bool TT_HOVER_TIMER = false;
    // Valid after SpawnVTip: true when the user chose not to save.
    bool USER_ABORTED() const;

    // LV_ClientIndex is the row's 1-based index; NumberOfCols the number of
    // columns to edit, counted in display order; XBuff and YBuff are pixel
    // offsets added to the editor's position. Returns one text per column of
    // the list, indexed by the column's own index; columns not edited keep
    // their text. Returns when the editor has closed.
    QStringList SpawnVTip(QTreeView *LV_Hwnd, QWidget *FRM_Hwnd, int LV_ClientIndex, int NumberOfCols,
                          int XBuff = 0, int YBuff = 0);

    // Called with the editor once it is placed, just before it runs modally
    // (tests drive it from here).
    std::function<void(frmTp_3D *)> onShown;
};
