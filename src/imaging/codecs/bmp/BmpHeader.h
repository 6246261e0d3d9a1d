#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QRgb>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// The part of a BMP file before the pixels: file header, info header, bit
// masks and colour table, read and checked as one unit.
namespace dovi::imaging::bmp::detail {

// How the pixel data is stored, once the header has been checked.
enum class Encoding {
    Indexed,   // 1, 2, 4 or 8 bits per pixel through the colour table
    Rle4,      // run-length coded 4-bit indexes
    Rle8,      // run-length coded 8-bit indexes
    Rle24,     // run-length coded BGR triples (an OS/2 2.x variant)
    Rgb24,     // plain BGR triples
    Bitfields, // 16 or 32 bits split by channel masks (defaults included)
};

// Where one channel sits inside a 16 or 32-bit pixel.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0; // 0: the channel is absent
};

struct Header {
    int infoSize = 0;
    int width = 0;
    int height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    Encoding encoding = Encoding::Indexed;
    Channel red, green, blue, alpha; // Bitfields only
    // Always 256 entries: those the file did not supply are opaque black, so an
    // index past the file's table reads black without a bounds check.
    std::array<QRgb, 256> palette{};
    int paletteSize = 0;         // entries actually read from the file
    std::size_t pixelOffset = 0; // where the pixel data starts, within the file
    std::size_t rowBytes = 0;    // bytes holding one row's pixels (uncompressed)
    std::size_t rowStride = 0;   // rowBytes padded to 4 bytes
};

// Reads and checks everything up to the pixel data. Returns an empty string on
// success, otherwise a short reason for refusing the file.
QString parseHeader(Bytes data, Header& header);

} // namespace dovi::imaging::bmp::detail
