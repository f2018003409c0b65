#pragma once

#include <QChar>
#include <QImage>

// Draws APRS station symbols: a clear glyph for the common ones (house, car
// and other vehicles, weather station, digipeater) and a lettered disc for
// the rest. An overlay character (a table character other than "/" or "\")
// is printed on the symbol.
namespace SymbolPainter {

constexpr int DefaultSize = 20;

enum class Glyph { House, Car, Weather, Digipeater, Lettered };
Glyph glyphFor(QChar table, QChar code);

// A transparent image of size x size pixels; cached per symbol and size.
QImage image(QChar table, QChar code, int size = DefaultSize);

} // namespace SymbolPainter
