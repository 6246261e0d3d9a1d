#pragma once
#include "imaging/codecs/bmp/BmpHeader.h"

#include <QImage>

// Pixel data readers. Both write into a picture already allocated at the
// header's size (RGB32 or ARGB32) and return how many whole rows they decoded;
// rows they never reach keep the allocation's black.
namespace dovi::imaging::bmp::detail {

// Rows of uncompressed data that the file holds in full, at most the height.
// The last row need not carry its padding.
int availableRows(Bytes data, const Header& header);

// Uncompressed data: indexed, 24-bit and bit-field rows.
int decodeUncompressed(Bytes data, const Header& header, QImage& image);

// RLE4, RLE8 and RLE24. A row counts as decoded once the stream moves past it
// (end of line, a delta downwards, end of bitmap) or fills it to the right edge.
int decodeRle(Bytes data, const Header& header, QImage& image);

} // namespace dovi::imaging::bmp::detail
