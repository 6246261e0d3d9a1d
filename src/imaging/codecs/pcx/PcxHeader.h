#pragma once
#include "imaging/codecs/ByteReader.h"

#include <QRgb>
#include <array>
#include <cstdint>

// The fixed 128-byte PCX header and the whitelist the reader accepts.
namespace dovi::imaging::pcx {

inline constexpr int kHeaderSize = 128;
inline constexpr std::uint8_t kManufacturer = 0x0a;
// A 256-colour palette follows the pixel data: a 0x0C marker, then 768 bytes.
inline constexpr int kPaletteMarker = 0x0c;
inline constexpr int kTrailingPaletteSize = 769;

struct Header {
    int manufacturer = 0;
    int version = 0;
    int encoding = 0;
    int bitsPerPlane = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::array<std::uint8_t, 48> palette16{};
    int planes = 0;
    int bytesPerLine = 0;

    int width() const { return xMax - xMin + 1; }
    int height() const { return yMax - yMin + 1; }
};

inline Header readHeader(ByteReader& in) {
    Header h;
    h.manufacturer = in.u8();
    h.version = in.u8();
    h.encoding = in.u8();
    h.bitsPerPlane = in.u8();
    h.xMin = in.u16le();
    h.yMin = in.u16le();
    h.xMax = in.u16le();
    h.yMax = in.u16le();
    in.skip(4); // resolution
    for (auto& b : h.palette16)
        b = in.u8();
    in.skip(1);
    h.planes = in.u8();
    h.bytesPerLine = in.u16le();
    in.seek(kHeaderSize);
    return h;
}

inline bool knownVersion(int v) {
    return v == 0 || v == 2 || v == 3 || v == 4 || v == 5;
}

// Plane layouts read: 1 bit in one plane (black and white, whatever the
// header palette says), 1 bit in 2 to 4 planes (4/8/16 colours from the
// header palette), 2 or 4 bits packed in one plane (the first 4 or 16 header
// colours; CGA's own palette-select bits are not interpreted), 8 bits in one
// plane (256-colour palette, or grey levels without one), three planes (RGB)
// or four (RGBA, the fourth plane straight alpha).
inline bool knownLayout(int bits, int planes) {
    switch (bits) {
    case 1:
        return planes >= 1 && planes <= 4;
    case 2:
    case 4:
        return planes == 1;
    case 8:
        return planes == 1 || planes == 3 || planes == 4;
    default:
        return false;
    }
}

// The standard 16 EGA colours, for files that carry no header palette.
inline constexpr std::array<QRgb, 16> kEgaPalette = {
    0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa, 0xffaa5500, 0xffaaaaaa,
    0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff, 0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff,
};

} // namespace dovi::imaging::pcx
