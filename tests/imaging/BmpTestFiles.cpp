// BMP files for each header version and pixel layout, crafted byte by byte,
// with the pixels they must decode to, and headers and streams that must be
// refused. The loops over them are in CodecTest.cpp.
#include "support/ImagingSupport.h"

#include <array>
#include <numeric>

using namespace dovi::imaging;

namespace dovi::test {

namespace {

constexpr QRgb K = 0xff000000, R = 0xffff0000, G = 0xff00ff00, B = 0xff0000ff, W = 0xffffffff;
constexpr std::array<std::uint32_t, 4> kBgra{0xff0000, 0xff00, 0xff, 0xff000000};

// Windows info header of 40, 52, 56, 108 or 124 bytes; the R, G, B, A masks
// go into the header as far as its size reaches.
QByteArray windowsInfo(int size, int w, int h, int bpp, std::uint32_t compression = 0,
                       std::uint32_t colorsUsed = 0, std::array<std::uint32_t, 4> masks = {}) {
    Le e;
    e.u32(size).u32(w).u32(h).u16(1).u16(bpp).u32(compression).u32(0).u32(2835).u32(2835);
    e.u32(colorsUsed).u32(0);
    for (int i = 0; i < 4 && e.size() < size; ++i)
        e.u32(masks[i]);
    return e.zeros(size - e.size());
}

QByteArray os2v1Info(int w, int h, int bpp) {
    return Le().u32(12).u16(w).u16(h).u16(1).u16(bpp);
}

QByteArray os2v2Info(int size, int w, int h, int bpp, std::uint32_t compression = 0) {
    Le e;
    e.u32(size).u32(w).u32(h).u16(1).u16(bpp);
    if (size > 16)
        e.u32(compression);
    return e.zeros(size - e.size());
}

QByteArray masks(std::initializer_list<std::uint32_t> values) {
    return std::accumulate(values.begin(), values.end(), Le(),
                           [](Le e, auto v) { return e.u32(v); });
}

QByteArray palette(std::initializer_list<QRgb> colours, bool threeBytes = false) {
    Le e;
    for (const QRgb c : colours) {
        e.bytes({qBlue(c), qGreen(c), qRed(c)});
        if (!threeBytes)
            e.u8(0);
    }
    return e;
}

// File header + info header + whatever sits between it and the pixels. The
// pixel offset is right after that part unless given.
QByteArray bmpFile(const QByteArray& info, const QByteArray& between, const QByteArray& pixels,
                   qint64 offBits = -1) {
    const qint64 off = offBits >= 0 ? offBits : 14 + info.size() + between.size();
    Le e;
    e.bytes({'B', 'M'}).u32(std::uint32_t(14 + info.size() + between.size() + pixels.size()));
    e.u32(0).u32(std::uint32_t(off));
    return QByteArray(e) + info + between + pixels;
}

QImage picture(int w, int h, std::initializer_list<QRgb> topDown, bool alpha = false) {
    const std::vector<QRgb> p(topDown);
    const auto at = [&](int x, int y) { return p[std::size_t(y * w + x)]; };
    return paint(w, h, at, alpha);
}

} // namespace

std::vector<Variant> bmpVariants() {
    const QByteArray pal4 = palette({R, G, B, W});
    std::vector<Variant> v = {
        {"OS/2 1.x, 3-byte table cut short by bfOffBits, index 3 reads black, "
         "not pixel bytes",
         bmpFile(os2v1Info(3, 2, 8), palette({R, G, B}, true), bytes({0, 1, 2, 0, 2, 3, 0, 0})),
         picture(3, 2, {B, K, R, R, G, B}), 8},
        {"1-bit row crossing a byte boundary",
         bmpFile(windowsInfo(40, 10, 2, 1), palette({R, W}),
                 bytes({0xaa, 0xc0, 0, 0, 0xff, 0x00, 0, 0})),
         picture(10, 2, {W, W, W, W, W, W, W, W, R, R, W, R, W, R, W, R, W, R, W, W}), 1},
        {"2-bit", bmpFile(windowsInfo(40, 5, 1, 2), pal4, bytes({0x1b, 0x40, 0, 0})),
         picture(5, 1, {R, G, B, W, G}), 2},
        {"4-bit odd width with a 2-entry table",
         bmpFile(windowsInfo(40, 3, 2, 4, 0, 2), palette({R, G}),
                 bytes({0x01, 0x70, 0, 0, 0x11, 0x00, 0, 0})),
         picture(3, 2, {G, G, R, R, G, K}), 4},
        {"8-bit top-down",
         bmpFile(windowsInfo(40, 2, -2, 8, 0, 4), pal4, bytes({0, 1, 0, 0, 2, 3, 0, 0})),
         picture(2, 2, {R, G, B, W}), 8},
        {"16-bit default 5-5-5, top bit ignored, exact rounding",
         bmpFile(windowsInfo(40, 3, 1, 16), {}, bytes({0xff, 0xff, 0x1f, 0, 0x10, 0, 0, 0})),
         picture(3, 1, {W, B, qRgb(0, 0, 132)}), 16},
        {"16-bit 5-6-5 masks after a 40-byte header",
         bmpFile(windowsInfo(40, 2, 1, 16, 3), masks({0xf800, 0x07e0, 0x001f}),
                 bytes({0x00, 0xf8, 0x20, 0x00})),
         picture(2, 1, {R, qRgb(0, 4, 0)}), 16},
        {"16-bit 4-4-4-4 with alpha in a V5 header",
         bmpFile(windowsInfo(124, 2, 1, 16, 3, 0, {0x0f00, 0x00f0, 0x000f, 0xf000}), {},
                 bytes({0x00, 0x8f, 0xf0, 0xf0})),
         picture(2, 1, {qRgba(255, 0, 0, 136), qRgba(0, 255, 0, 255)}, true), 16},
        {"32-bit plain BGRX: the fourth byte is not alpha",
         bmpFile(windowsInfo(40, 2, 1, 32), {}, bytes({1, 2, 3, 0x7f, 0xff, 0, 0, 0})),
         picture(2, 1, {qRgb(3, 2, 1), B}), 32},
        {"32-bit V4 with an alpha mask",
         bmpFile(windowsInfo(108, 2, 1, 32, 3, 0, kBgra), {},
                 bytes({0x10, 0x20, 0x30, 0x80, 0, 0, 0xff, 0})),
         picture(2, 1, {qRgba(0x30, 0x20, 0x10, 0x80), qRgba(255, 0, 0, 0)}, true), 32},
        {"32-bit alpha all zero means opaque",
         bmpFile(windowsInfo(108, 2, 1, 32, 3, 0, kBgra), {},
                 bytes({0x10, 0x20, 0x30, 0, 0, 0, 0xff, 0})),
         picture(2, 1, {qRgb(0x30, 0x20, 0x10), R}), 32},
        {"ALPHABITFIELDS: four masks after a 40-byte header",
         bmpFile(windowsInfo(40, 1, 1, 32, 6),
                 masks({0xff000000, 0x00ff0000, 0x0000ff00, 0x000000ff}),
                 bytes({0x44, 0x33, 0x22, 0x11})),
         picture(1, 1, {qRgba(0x11, 0x22, 0x33, 0x44)}, true), 32},
        {"52-byte header holding 10-bit masks",
         bmpFile(windowsInfo(52, 1, 1, 32, 3, 0, {0x000003ff, 0x000ffc00, 0x3ff00000}), {},
                 bytes({0xff, 0x03, 0x18, 0x00})),
         picture(1, 1, {qRgb(255, 128, 0)}), 32},
        {"bfOffBits past a gap is honoured",
         bmpFile(windowsInfo(40, 1, 1, 24), bytes({9, 9, 9, 9, 9, 9}),
                 bytes({0x10, 0x20, 0x30, 0})),
         picture(1, 1, {qRgb(0x30, 0x20, 0x10)}), 24},
        {"bfOffBits 0: the pixels follow the table",
         bmpFile(windowsInfo(40, 1, 1, 8, 0, 1), palette({G}), bytes({0, 0, 0, 0}), 0),
         picture(1, 1, {G}), 8},
        {"OS/2 2.x 16-byte header with a 4-byte table",
         bmpFile(os2v2Info(16, 2, 1, 8), palette({R, G}), bytes({1, 0, 0, 0})),
         picture(2, 1, {G, R}), 8},
        // Run, absolute run with padding, end of line; delta right; a run clipped
        // at the right edge; end of bitmap.
        {"RLE8",
         bmpFile(windowsInfo(40, 6, 3, 8, 1, 4), pal4,
                 bytes({3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 0, 2, 0, 0, 0, 8, 3, 0, 1})),
         picture(6, 3, {W, W, W, W, W, W, K, K, R, R, K, K, G, G, G, B, W, B}), 8},
        // Alternating nibbles; absolute run of 5 nibbles padded to 4 bytes; a run
        // wholly past the right edge; end of bitmap.
        {"RLE4",
         bmpFile(windowsInfo(40, 5, 2, 4, 2, 4), pal4,
                 bytes({5, 0x12, 0, 0, 0, 5, 0x30, 0x12, 0x30, 0, 4, 0x01, 0, 1})),
         picture(5, 2, {W, R, G, B, W, G, B, G, B, G}), 4},
        {"RLE24 in an OS/2 2.x header, absolute run clipped and padded",
         bmpFile(os2v2Info(64, 4, 1, 24, 4), {},
                 bytes({2, 0, 0, 0xff, 0, 3, 0, 0xff, 0, 0xff, 0xff, 0xff, 0, 0, 0, 0, 0, 1})),
         picture(4, 1, {R, R, G, W}), 24},
        {"RLE delta past the last row ends the picture",
         bmpFile(windowsInfo(40, 2, 2, 8, 1, 4), pal4, bytes({2, 1, 0, 2, 0, 5, 2, 2})),
         picture(2, 2, {K, K, G, G}), 8},
        {"RLE stream cut after the first row keeps it",
         bmpFile(windowsInfo(40, 2, 3, 8, 1, 4), pal4, bytes({2, 1, 0, 0, 1, 2})),
         picture(2, 3, {K, K, B, K, G, G}), 8},
    };
    // A table of 300 entries for 8-bit indexes: those past 255 are never read.
    Le table;
    for (int i = 0; i < 300; ++i)
        table.bytes({i / 256 * 200, 7, i & 0xff, 0});
    v.push_back({"8-bit with a 300-entry colour table",
                 bmpFile(windowsInfo(40, 2, 1, 8, 0, 300), table, bytes({255, 7, 0, 0})),
                 picture(2, 1, {qRgb(255, 7, 0), qRgb(7, 7, 0)}), 8});
    for (Variant& each : v)
        each.paletted = each.bitsPerPixel <= 8;
    // As the writer stores a picture: bottom-up rows of 39 bytes padded to 40.
    Image img;
    img.pixels = makeTestPattern(13, 7);
    QByteArray file;
    bmp::encode(img, file);
    v.push_back({"24-bit from the writer", file, img.pixels, 24, false, true, true, 54, 39, 1});
    return v;
}

std::vector<Broken> bmpBroken() {
    const QByteArray pix = Le().zeros(64);
    const QByteArray pal = palette({R, G});
    return {
        {"not BM", QByteArray("BA") + bmpFile(windowsInfo(40, 1, 1, 24), {}, pix).mid(2)},
        {"unknown header size", bmpFile(windowsInfo(20, 1, 1, 24), {}, pix)},
        {"header cut short", bmpFile(windowsInfo(40, 1, 1, 24), {}, {}).left(30)},
        {"zero width", bmpFile(windowsInfo(40, 0, 1, 24), {}, pix)},
        {"negative width", bmpFile(windowsInfo(40, -4, 1, 24), {}, pix)},
        {"zero height", bmpFile(windowsInfo(40, 4, 0, 24), {}, pix)},
        {"side above the cap", bmpFile(windowsInfo(40, 40000, 1, 24), {}, pix)},
        {"area above the cap", bmpFile(windowsInfo(40, 11000, 11000, 1), pal, pix)},
        {"huge picture, no data", bmpFile(windowsInfo(40, 30000, 4000, 24), {}, pix)},
        {"3 bits per pixel", bmpFile(windowsInfo(40, 4, 1, 3), {}, pix)},
        {"64 bits per pixel", bmpFile(windowsInfo(40, 4, 1, 64), {}, pix)},
        {"two planes",
         bmpFile(QByteArray(windowsInfo(40, 4, 1, 24)).replace(12, 1, "\2"), {}, pix)},
        {"RLE8 with 4 bits", bmpFile(windowsInfo(40, 4, 1, 4, 1), pal, pix)},
        {"embedded JPEG", bmpFile(windowsInfo(124, 4, 1, 0, 4), {}, pix)},
        {"embedded PNG", bmpFile(windowsInfo(124, 4, 1, 0, 5), {}, pix)},
        {"OS/2 Huffman", bmpFile(os2v2Info(64, 4, 1, 1, 3), pal, pix)},
        {"colour table larger than the file",
         bmpFile(windowsInfo(40, 4, 1, 8, 0, 0x10000000), {}, pix)},
        {"bfOffBits past the end", bmpFile(windowsInfo(40, 1, 1, 24), {}, pix, 5000)},
        {"masks missing", bmpFile(windowsInfo(40, 1, 1, 16, 3), {}, {})},
        {"mask not contiguous",
         bmpFile(windowsInfo(40, 4, 1, 16, 3), masks({0xf0f0, 0x0f00, 0x000f}), pix)},
        {"masks overlap",
         bmpFile(windowsInfo(40, 4, 1, 16, 3), masks({0xf800, 0xfc00, 0x001f}), pix)},
        {"mask wider than the pixel",
         bmpFile(windowsInfo(40, 4, 1, 16, 3), masks({0x1f0000, 0x07e0, 0x1f}), pix)},
        {"first row incomplete", bmpFile(windowsInfo(40, 8, 2, 24), {}, Le().zeros(23))},
        {"RLE ends inside the first row",
         bmpFile(windowsInfo(40, 4, 2, 8, 1, 2), pal, bytes({2, 1}))},
        {"RLE without data", bmpFile(windowsInfo(40, 4, 2, 8, 1, 2), pal, {})},
    };
}

} // namespace dovi::test
