#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QImage>
#include <cstdint>
#include <vector>

// What the BMP, TGA and PCX writers learn about the picture they are given:
// its pixels in one of the two layouts they handle, whether any pixel is
// translucent, and its colours as a palette when it has few enough.
namespace dovi::imaging {

// The picture as RGB32, or ARGB32 when it has an alpha channel (straight, not
// premultiplied). Null when there is nothing to write or memory is short.
QImage writableCopy(const QImage& pixels);

// The TGA and PCX writers' input: writableCopy of the image's pixels, or null
// with the reason in error when there is no picture, memory is short, or the
// picture is larger than the decoders accept ("picture too large for
// <format>").
QImage checkedWriterInput(const Image& image, const QString& format, QString* error);

// True when some pixel of an ARGB32 picture is not fully opaque.
bool hasTranslucentPixel(const QImage& image);

// Maps an opaque picture to at most 256 colours: palette holds the colours
// (alpha 255) in order of first appearance, indices one byte per pixel, row
// after row from the top. False, with both left empty, when the picture has
// more colours.
bool indexColours(const QImage& image, std::vector<QRgb>& palette,
                  std::vector<std::uint8_t>& indices);

} // namespace dovi::imaging
