#pragma once

#include <QtGlobal>

class QScrollBar;
class QWidget;

// Scrolls a picture inside its viewport with two scroll bars. Bar values
// stay within 16 bits: a picture more than 32,767 pixels larger than the
// viewport is scrolled in steps of several pixels, so the bar's end still
// reaches the picture's end.
class cPicScroll
{
public:
    static constexpr qint32 MaxBarValue = 32767;

    // The maxima are how far the picture can move (picture size less
    // viewport size); zero or less means it fits and its bar rests at 0.
    void SetUpScrollBars(QScrollBar *H_SB, QScrollBar *V_SB, qint32 lVer_MaxLen, qint16 iVer_SmallChange,
                         qint32 lVer_LargeChange, qint32 lHor_MaxLen, qint16 iHor_SmallChange,
                         qint32 lHor_LargeChange);

    // Each moves the picture to the bar's position.
    void MoveV(QScrollBar *bar, QWidget *picture) const;
    void MoveH(QScrollBar *bar, QWidget *picture) const;

    // Pixels per bar unit, and the pixel offset a bar value stands for.
    qint32 verticalScale() const { return m_vertical.scale; }
    qint32 horizontalScale() const { return m_horizontal.scale; }
    qint32 verticalOffset(int value) const { return m_vertical.offset(value); }
    qint32 horizontalOffset(int value) const { return m_horizontal.offset(value); }

private:
    struct Axis
    {
        qint32 maxLen = 0;
        qint32 scale = 1;
        void setUp(QScrollBar *bar, qint32 max, qint32 small, qint32 large);
        qint32 offset(int value) const;
    };
    Axis m_vertical;
    Axis m_horizontal;
};
