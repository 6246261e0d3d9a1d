#include "imaging/codecs/bmp/BmpHeader.h"

#include "imaging/codecs/ByteReader.h"

#include <algorithm>
#include <bit>

namespace dovi::imaging::bmp::detail {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

// Compression codes as stored in the info header.
enum : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitfields = 3, // Huffman 1D in OS/2 2.x headers
    kJpeg = 4,      // RLE24 in OS/2 2.x headers when paired with 24 bits
    kPng = 5,
    kAlphaBitfields = 6,
};

// The info header sizes we know. 12 is OS/2 1.x; 16 and 64 are OS/2 2.x (a
// writer may cut that header short, and 16 is the short form seen in practice;
// its 40-byte form cannot be told apart from Windows' and reads the same);
// 40, 52, 56, 108 and 124 are the Windows versions. Anything else is refused.
bool knownInfoSize(std::uint32_t size) {
    switch (size) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

bool isOs2v2(int infoSize) {
    return infoSize == 16 || infoSize == 64;
}

// Turns a mask into a channel. False when its bits are not contiguous.
bool makeChannel(std::uint32_t mask, Channel& channel) {
    channel = {};
    if (mask == 0)
        return true;
    const int shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift;
    if ((bits & (bits + 1)) != 0)
        return false;
    channel = {mask, shift, std::popcount(bits)};
    return true;
}

QString readMasks(Bytes data, const std::array<std::uint8_t, 124>& info, std::uint32_t compression,
                  Header& h, std::size_t& afterHeaders) {
    std::uint32_t masks[4] = {0, 0, 0, 0};
    if (compression == kRgb) {
        // Plain 16 bits are 5-5-5 and plain 32 bits are BGRX. The masks of a
        // V4/V5 header only count with BI_BITFIELDS, as the format defines, so
        // the fourth byte of plain 32-bit data is never taken for alpha.
        if (h.bitsPerPixel == 16) {
            masks[0] = 0x7c00;
            masks[1] = 0x03e0;
            masks[2] = 0x001f;
        } else {
            masks[0] = 0xff0000;
            masks[1] = 0x00ff00;
            masks[2] = 0x0000ff;
        }
    } else {
        // Headers of 52 bytes and more hold the colour masks, 56 and more the
        // alpha mask too; masks the header lacks follow it.
        const int inHeader = h.infoSize >= 56 ? 4 : h.infoSize >= 52 ? 3 : 0;
        const int needed = compression == kAlphaBitfields ? 4 : 3;
        ByteReader infoReader(info);
        infoReader.seek(40);
        for (int i = 0; i < inHeader; ++i)
            masks[i] = infoReader.u32le();
        const int extra = std::max(0, needed - inHeader);
        ByteReader after(data);
        after.seek(afterHeaders);
        for (int i = inHeader; i < inHeader + extra; ++i)
            masks[i] = after.u32le();
        if (after.failed())
            return QStringLiteral("truncated bit masks");
        afterHeaders += static_cast<std::size_t>(extra) * 4;
        // Some writers declare bit fields and leave the masks empty; they mean
        // the defaults.
        if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0) {
            masks[0] = h.bitsPerPixel == 16 ? 0x7c00 : 0xff0000;
            masks[1] = h.bitsPerPixel == 16 ? 0x03e0 : 0x00ff00;
            masks[2] = h.bitsPerPixel == 16 ? 0x001f : 0x0000ff;
        }
    }
    const std::uint32_t pixelBits =
        h.bitsPerPixel == 32 ? 0xffffffffu : (1u << h.bitsPerPixel) - 1u;
    std::uint32_t seen = 0;
    for (const std::uint32_t m : masks) {
        if ((m & ~pixelBits) != 0 || (m & seen) != 0)
            return QStringLiteral("bit masks overlap or exceed the pixel size");
        seen |= m;
    }
    if (!makeChannel(masks[0], h.red) || !makeChannel(masks[1], h.green) ||
        !makeChannel(masks[2], h.blue) || !makeChannel(masks[3], h.alpha))
        return QStringLiteral("bit masks are not contiguous");
    return {};
}

QString chooseEncoding(std::uint32_t compression, Header& h) {
    const int bpp = h.bitsPerPixel;
    if (compression == kPng)
        return QStringLiteral("BMP with embedded PNG data is not supported");
    if (compression == kJpeg && bpp != 24)
        return QStringLiteral("BMP with embedded JPEG data is not supported");
    if (bpp == 64)
        return QStringLiteral("64-bit BMP is not supported");
    switch (bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
        if (compression == kRgb)
            h.encoding = Encoding::Indexed;
        else if (compression == kRle8 && bpp == 8)
            h.encoding = Encoding::Rle8;
        else if (compression == kRle4 && bpp == 4)
            h.encoding = Encoding::Rle4;
        else if (compression == kBitfields && isOs2v2(h.infoSize))
            return QStringLiteral("Huffman-compressed BMP is not supported");
        else
            return QStringLiteral("compression %1 does not fit %2 bits per pixel")
                .arg(compression)
                .arg(bpp);
        return {};
    case 16:
    case 32:
        // In an OS/2 2.x header code 3 means Huffman coding, not bit fields.
        if (compression == kRgb || compression == kAlphaBitfields ||
            (compression == kBitfields && !isOs2v2(h.infoSize))) {
            h.encoding = Encoding::Bitfields;
            return {};
        }
        break;
    case 24:
        if (compression == kRgb) {
            h.encoding = Encoding::Rgb24;
            return {};
        }
        // Code 4 with 24 bits can only be OS/2's RLE24: Windows' embedded JPEG
        // states 0 bits per pixel.
        if (compression == kJpeg) {
            h.encoding = Encoding::Rle24;
            return {};
        }
        break;
    default:
        return QStringLiteral("unsupported bits per pixel: %1").arg(bpp);
    }
    return QStringLiteral("compression %1 does not fit %2 bits per pixel")
        .arg(compression)
        .arg(bpp);
}

} // namespace

QString parseHeader(Bytes data, Header& h) {
    h = Header{};
    h.palette.fill(0xff000000u);
    ByteReader file(data);
    if (data.size() < kFileHeaderSize + 4)
        return QStringLiteral("file too short for a BMP header");
    if (file.u8() != 'B' || file.u8() != 'M')
        return QStringLiteral("not a BMP file");
    file.skip(8); // bfSize is often wrong and the reserved words mean nothing
    const std::uint32_t offBits = file.u32le();
    const std::uint32_t infoSize = file.u32le();
    if (!knownInfoSize(infoSize))
        return QStringLiteral("unknown BMP header size %1").arg(infoSize);
    if (data.size() < kFileHeaderSize + infoSize)
        return QStringLiteral("truncated BMP header");
    h.infoSize = static_cast<int>(infoSize);

    // A zero-padded copy: fields a short header leaves out read as 0.
    std::array<std::uint8_t, 124> info{};
    std::copy_n(data.begin() + kFileHeaderSize, infoSize, info.begin());
    ByteReader f(info);
    f.seek(4);
    const bool os2v1 = infoSize == 12;
    qint64 width = 0;
    qint64 height = 0;
    if (os2v1) {
        width = f.u16le();
        height = f.u16le();
    } else {
        width = f.i32le();
        height = f.i32le();
    }
    const int planes = f.u16le();
    h.bitsPerPixel = f.u16le();
    const std::uint32_t compression = os2v1 ? kRgb : f.u32le();
    // biSizeImage and the resolution are skipped: the size is often 0 or
    // wrong, and the row size follows from width and depth anyway.
    f.seek(32);
    const std::uint32_t colorsUsed = os2v1 ? 0 : f.u32le();

    if (planes != 1)
        return QStringLiteral("bad plane count %1").arg(planes);
    if (height < 0) {
        h.topDown = true;
        height = -height;
    }
    if (!dimensionsAllowed(width, height))
        return QStringLiteral("dimensions %1 x %2 outside the supported range")
            .arg(width)
            .arg(height);
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    if (QString why = chooseEncoding(compression, h); !why.isEmpty())
        return why;

    std::size_t afterHeaders = kFileHeaderSize + infoSize;
    if (h.encoding == Encoding::Bitfields)
        if (QString why = readMasks(data, info, compression, h, afterHeaders); !why.isEmpty())
            return why;

    // The colour table sits after the headers and masks. Its length is 2^bpp
    // for OS/2 1.x and when biClrUsed is 0; a biClrUsed whose table could not
    // fit in the file at all means the header is corrupt.
    const std::size_t entrySize = os2v1 ? 3 : 4;
    const bool indexed = h.bitsPerPixel <= 8;
    if (!(CheckedSize(colorsUsed) * entrySize).fits(data.size()))
        return QStringLiteral("colour table larger than the file");
    const std::size_t stated = indexed && colorsUsed == 0 ? (1u << h.bitsPerPixel) : colorsUsed;
    const std::size_t paletteStart = afterHeaders;
    const CheckedSize paletteEnd = CheckedSize(paletteStart) + CheckedSize(stated) * entrySize;

    // bfOffBits is honoured when it points past the headers. Some writers leave
    // it 0 or point it into the headers; the pixels then follow the colour
    // table, the only place they can sensibly be.
    const CheckedSize pixelOffset = offBits >= paletteStart ? CheckedSize(offBits) : paletteEnd;
    if (!pixelOffset.fits(data.size()))
        return QStringLiteral("pixel data offset past the end of the file");
    h.pixelOffset = pixelOffset.value();

    if (indexed) {
        // No more entries than the depth can index: the table holds 256.
        std::size_t count = std::min<std::size_t>(stated, 1u << h.bitsPerPixel);
        // The table never overlaps the pixels: a table cut short by bfOffBits
        // (as OS/2 1.x writers do with small palettes) keeps what fits.
        count = std::min(count, (h.pixelOffset - paletteStart) / entrySize);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = data.data() + paletteStart + i * entrySize;
            h.palette[i] = qRgb(e[2], e[1], e[0]); // the fourth byte is reserved
        }
        h.paletteSize = static_cast<int>(count);
    }

    h.rowBytes = packedBytes(h.width, h.bitsPerPixel).value();
    h.rowStride = packedBytes(h.width, h.bitsPerPixel, 4).value();
    return {};
}

} // namespace dovi::imaging::bmp::detail
