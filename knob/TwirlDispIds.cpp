#include "TwirlDispIds.h"

#include <iterator>

namespace twirl {

namespace {

struct Entry {
    int id;
    const char *name;
};

constexpr Entry kProperties[] = {
    {1, "Position"},
    {2, "Value"},
    {3, "Max"},
    {4, "Min"},
    {5, "IndicatorStyle"},
    {6, "IndicatorLineWidth"},
    {7, "Wrap"},
    {8, "KnobColor"},
    {9, "IndicatorColor"},
    {10, "Orientation"},
    {11, "RimColor"},
    {12, "Appearence"},
    {13, "Appearence3DHeight"},
    {14, "Version"},
    {15, "SnapToMouse"},
    {16, "AutoSpin"},
    {17, "AutoSpinSpeed"},
    {18, "TickLength"},
    {19, "TickCount"},
    {20, "TickGap"},
    {21, "TickWidth"},
    {22, "TickColor"},
    {23, "TickSnapping"},
    {24, "FineAdjust"},
    {25, "FineAdjustWidth"},
    {26, "FineAdjustTicks"},
    {27, "FineAdjustPosition"},
    {28, "FineAdjustIndicator"},
    {29, "FineAdjustColor"},
    {30, "FineAdjustLineLength"},
    {-501, "BackColor"},
    {-512, "Font"},
    {-513, "ForeColor"},
    {-517, "Text"},
};

constexpr Entry kEvents[] = {
    {1, "PositionChanged"},
    {2, "ValueChanged"},
    {3, "LeftDblClick"},
    {4, "RightDblClick"},
    {5, "TickSnap"},
    {6, "MouseDownCoarse"},
    {7, "MouseDownFine"},
    {-605, "MouseDown"},
    {-607, "MouseUp"},
};

template <size_t N>
int idOf(const Entry (&table)[N], const QByteArray &name)
{
    for (const Entry &e : table) {
        if (name == e.name)
            return e.id;
    }
    return 0;
}

template <size_t N>
QByteArray nameOf(const Entry (&table)[N], int id)
{
    for (const Entry &e : table) {
        if (e.id == id)
            return QByteArray(e.name);
    }
    return QByteArray();
}

} // namespace

int propertyDispId(const QByteArray &name)
{
    return idOf(kProperties, name);
}

QByteArray propertyName(int dispId)
{
    return nameOf(kProperties, dispId);
}

int eventDispId(const QByteArray &name)
{
    return idOf(kEvents, name);
}

QByteArray eventName(int dispId)
{
    return nameOf(kEvents, dispId);
}

} // namespace twirl
