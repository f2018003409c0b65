#pragma once

#include <QColor>

// Stored colours are 24-bit numbers with red in the low byte, green in the
// middle and blue in the high byte (65280 is green, 255 red).
inline QColor colourFromValue(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline qint32 valueFromColour(const QColor &colour)
{
    return qint32(colour.red()) | (qint32(colour.green()) << 8) | (qint32(colour.blue()) << 16);
}
