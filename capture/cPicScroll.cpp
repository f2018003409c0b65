#include "capture/cPicScroll.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>

void cPicScroll::Axis::setUp(QScrollBar *bar, qint32 max, qint32 small, qint32 large)
{
    // The picture keeps its place (as far as it still can) when the scale changes.
    const qint64 shown = bar ? qint64(bar->value()) * scale : 0;
    maxLen = std::max(max, 0);
    scale = maxLen > MaxBarValue ? (maxLen + MaxBarValue - 1) / MaxBarValue : 1;
    if (!bar)
        return;
    const QSignalBlocker quiet(bar);
    bar->setRange(0, (maxLen + scale - 1) / scale);
    bar->setSingleStep(std::max(1, small / scale));
    bar->setPageStep(std::max(1, large / scale));
    bar->setEnabled(maxLen > 0);
    bar->setValue(int(std::min<qint64>(shown / scale, bar->maximum())));
}

qint32 cPicScroll::Axis::offset(int value) const
{
    return qint32(std::clamp<qint64>(qint64(value) * scale, 0, maxLen));
}

void cPicScroll::SetUpScrollBars(QScrollBar *H_SB, QScrollBar *V_SB, qint32 lVer_MaxLen, qint16 iVer_SmallChange,
                                 qint32 lVer_LargeChange, qint32 lHor_MaxLen, qint16 iHor_SmallChange,
                                 qint32 lHor_LargeChange)
{
    m_vertical.setUp(V_SB, lVer_MaxLen, iVer_SmallChange, lVer_LargeChange);
    m_horizontal.setUp(H_SB, lHor_MaxLen, iHor_SmallChange, lHor_LargeChange);
}

void cPicScroll::MoveV(QScrollBar *bar, QWidget *picture) const
{
    if (bar && picture)
        picture->move(picture->x(), -m_vertical.offset(bar->value()));
}

void cPicScroll::MoveH(QScrollBar *bar, QWidget *picture) const
{
    if (bar && picture)
        picture->move(-m_horizontal.offset(bar->value()), picture->y());
}
