#pragma once

#include <QByteArray>
#include <QImage>

// Turns the bytes of a map tile (PNG or JPEG, from a server or a file) into
// a 256 x 256 picture ready to draw, or a null image for anything else.
// Bytes from outside are hostile: the size is checked before any pixel is
// decoded. Safe to call from any thread.
namespace TileDecoder {

// Larger answers are not tiles.
constexpr qsizetype MaxBytes = 4 * 1024 * 1024;
// Square tiles from 64 to 1024 pixels (high-density servers send 512) are
// scaled to the map's 256.
constexpr int MinSide = 64;
constexpr int MaxSide = 1024;

QImage decode(const QByteArray &bytes);

} // namespace TileDecoder
