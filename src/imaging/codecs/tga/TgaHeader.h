#pragma once
#include "imaging/codecs/ByteReader.h"

#include <cstdint>

// The fixed 18-byte TGA header and the whitelist the reader accepts.
namespace dovi::imaging::tga {

inline constexpr int kHeaderSize = 18;

enum ImageType : int {
    kMapped = 1,
    kTrueColour = 2,
    kGrey = 3,
    kMappedRle = 9,
    kTrueColourRle = 10,
    kGreyRle = 11,
};

struct Header {
    int idLength = 0;
    int colourMapType = 0;
    int imageType = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    int descriptor = 0;

    bool rle() const { return imageType >= kMappedRle; }
    int kind() const { return imageType & 7; } // kMapped, kTrueColour or kGrey
    int alphaBits() const { return descriptor & 0x0f; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    bool topDown() const { return (descriptor & 0x20) != 0; }
    int bytesPerPixel() const { return (depth + 7) / 8; }
    int mapEntryBytes() const { return (mapEntryBits + 7) / 8; }
};

inline Header readHeader(ByteReader& in) {
    Header h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    h.mapFirst = in.u16le();
    h.mapLength = in.u16le();
    h.mapEntryBits = in.u8();
    in.skip(4); // x and y origin: screen placement only
    h.width = in.u16le();
    h.height = in.u16le();
    h.depth = in.u8();
    h.descriptor = in.u8();
    return h;
}

inline bool knownImageType(int type) {
    return type == kMapped || type == kTrueColour || type == kGrey || type == kMappedRle ||
           type == kTrueColourRle || type == kGreyRle;
}

// Pixel depths per kind: colour-mapped pictures store 8- or 16-bit indexes,
// true colour 5-5-5 (15/16), 24 or 32 bits, grey 8 bits or 8 + 8 alpha.
inline bool knownDepth(int kind, int depth) {
    switch (kind) {
    case kMapped:
        return depth == 8 || depth == 16;
    case kTrueColour:
        return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    case kGrey:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

inline bool knownMapEntryBits(int bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace dovi::imaging::tga
