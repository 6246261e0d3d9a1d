// PCX files built byte by byte here, one per plane layout, with the picture
// each must decode to; then the same files cut short and damaged.
#include "imaging/TgaPcxTestTools.h"
#include "imaging/codecs/PcxCodec.h"

#include <functional>

using namespace dovi::imaging;
using namespace dovi::test;
using namespace dovi::test::tgapcx;

namespace {

constexpr int W = 13;
constexpr int H = 5;
constexpr char kPad = 77; // padding bytes, equal to the grey of uniform rows

// Rows 1 and 2 are uniform grey 77 (index 77 in 8-bit files), so runs can
// cross plane and scan-line ends.
bool uniformRow(int y) {
    return y == 1 || y == 2;
}

struct PcxFile {
    int version = 5, encoding = 1, bits = 8, planes = 1;
    int xMin = 0, yMin = 0;
    int bytesPerLine = 0; // 0: the least that holds W pixels
    QByteArray palette16{};
    QByteArray trailer{};
    bool runsCrossLines = false;
    std::function<QByteArray(int, int)> planeLine{}; // (plane, y) -> bytesPerLine bytes

    int bpl() const { return bytesPerLine ? bytesPerLine : (W * bits + 7) / 8; }

    static void encodeRuns(const QByteArray& in, QByteArray& out) {
        for (qsizetype i = 0; i < in.size();) {
            qsizetype run = 1;
            while (i + run < in.size() && run < 63 && in[i + run] == in[i])
                ++run;
            if (run > 1 || (uchar(in[i]) & 0xc0) == 0xc0)
                out += char(0xc0 | run);
            out += in[i];
            i += run;
        }
    }

    QByteArray bytes() const {
        QByteArray out;
        out += char(0x0a);
        out += char(version);
        out += char(encoding);
        out += char(bits);
        put16(out, xMin);
        put16(out, yMin);
        put16(out, xMin + W - 1);
        put16(out, yMin + H - 1);
        put16(out, 72);
        put16(out, 72);
        out += palette16.leftJustified(48, '\0', true);
        out += '\0';
        out += char(planes);
        put16(out, bpl());
        put16(out, 1);
        out += QByteArray(128 - out.size(), '\0');
        QByteArray stream;
        for (int y = 0; y < H; ++y) {
            for (int p = 0; p < planes; ++p) {
                const QByteArray line = planeLine(p, y).leftJustified(bpl(), kPad, true);
                if (encoding == 0 || runsCrossLines)
                    stream += line;
                else
                    encodeRuns(line, out);
            }
        }
        if (encoding == 0)
            out += stream;
        else
            encodeRuns(stream, out);
        return out + trailer;
    }
};

int indexAt(int x, int y, int colours) {
    return uniformRow(y) ? (77 % colours) : (x * 3 + y * 5 + x / 4) % colours;
}

// Bit p of each pixel's index, one bit per pixel, leftmost pixel in the top bit.
QByteArray bitPlane(int p, int y, int colours) {
    QByteArray line((W + 7) / 8, '\0');
    for (int x = 0; x < W; ++x)
        if ((indexAt(x, y, colours) >> p) & 1)
            line[x / 8] = char(uchar(line[x / 8]) | (0x80 >> (x % 8)));
    return line;
}

// Indexes packed bits at a time in one plane.
QByteArray packedLine(int y, int bits) {
    QByteArray line((W * bits + 7) / 8, '\0');
    for (int x = 0; x < W; ++x) {
        const int shift = 8 - bits - (x * bits) % 8;
        line[x * bits / 8] = char(uchar(line[x * bits / 8]) | (indexAt(x, y, 1 << bits) << shift));
    }
    return line;
}

QByteArray headerPalette() {
    QByteArray pal;
    for (int i = 0; i < 16; ++i)
        pal += QByteArray{1, char(i * 16)} + char(255 - i * 9) + char(i * 5 + 3);
    return pal;
}
QRgb headerColour(int i) {
    return qRgb(i * 16, 255 - i * 9, i * 5 + 3);
}

constexpr QRgb kEga[16] = {0x000000, 0x0000aa, 0x00aa00, 0x00aaaa, 0xaa0000, 0xaa00aa,
                           0xaa5500, 0xaaaaaa, 0x555555, 0x5555ff, 0x55ff55, 0x55ffff,
                           0xff5555, 0xff55ff, 0xffff55, 0xffffff};

QRgb trueColour(int x, int y) {
    return uniformRow(y) ? qRgb(77, 77, 77) : qRgb(x * 19, 250 - y * 40, (x * 37 + y) % 256);
}
int alphaAt(int x, int y) {
    return uniformRow(y) ? 255 : (x * 20 + y * 3) % 256;
}

QImage picture(const std::function<QRgb(int, int)>& colour, bool alpha = false) {
    QImage img(W, H, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            img.setPixel(x, y, alpha ? colour(x, y) : (colour(x, y) | 0xff000000u));
    return img;
}

struct Variant {
    const char* name;
    PcxFile file;
    QImage picture;
    bool paletted;
};

QList<Variant> variants() {
    QList<Variant> v;
    const auto indexed = [](int colours, const std::function<QRgb(int)>& pal) {
        return picture([=](int x, int y) { return pal(indexAt(x, y, colours)); });
    };
    const auto planar = [](int colours) {
        return [=](int p, int y) { return bitPlane(p, y, colours); };
    };
    v << Variant{"mono",
                 {.bits = 1, .planes = 1, .palette16 = headerPalette(), .planeLine = planar(2)},
                 indexed(2, [](int i) { return i ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }),
                 true};
    for (const int planes : {2, 3, 4})
        v << Variant{planes == 2   ? "4 colours in 2 planes"
                     : planes == 3 ? "8 colours in 3 planes"
                                   : "16 colours in 4 planes",
                     {.bits = 1,
                      .planes = planes,
                      .bytesPerLine = planes == 4 ? 3 : 0,
                      .palette16 = headerPalette(),
                      .planeLine = planar(1 << planes)},
                     indexed(1 << planes, headerColour),
                     true};
    v << Variant{"16 colours, version 3: standard EGA colours",
                 {.version = 3,
                  .bits = 1,
                  .planes = 4,
                  .palette16 = headerPalette(),
                  .planeLine = planar(16)},
                 indexed(16, [](int i) { return kEga[i]; }),
                 true};
    v << Variant{"16 colours, all-zero palette: standard EGA colours",
                 {.bits = 1, .planes = 4, .runsCrossLines = true, .planeLine = planar(16)},
                 indexed(16, [](int i) { return kEga[i]; }),
                 true};
    v << Variant{"2-bit packed",
                 {.bits = 2,
                  .palette16 = headerPalette(),
                  .planeLine = [](int, int y) { return packedLine(y, 2); }},
                 indexed(4, headerColour),
                 true};
    v << Variant{"4-bit packed",
                 {.bits = 4,
                  .palette16 = headerPalette(),
                  .planeLine = [](int, int y) { return packedLine(y, 4); }},
                 indexed(16, headerColour),
                 true};

    QByteArray trailer(1, char(0x0c));
    const auto pal256 = [](int i) { return qRgb(255 - i, (i * 7) % 256, i); };
    for (int i = 0; i < 256; ++i)
        trailer +=
            QByteArray(1, char(qRed(pal256(i)))) + char(qGreen(pal256(i))) + char(qBlue(pal256(i)));
    const auto line8 = [](int, int y) {
        QByteArray line;
        for (int x = 0; x < W; ++x)
            line += char(indexAt(x, y, 256));
        return line;
    };
    v << Variant{"256 colours, odd bytes per line",
                 {.trailer = trailer, .planeLine = line8},
                 indexed(256, pal256),
                 true};
    v << Variant{"256 colours, runs across lines",
                 {.trailer = trailer, .runsCrossLines = true, .planeLine = line8},
                 indexed(256, pal256),
                 true};
    v << Variant{"8-bit without palette: grey, wide padding",
                 {.bytesPerLine = 20, .planeLine = line8},
                 indexed(256, [](int i) { return qRgb(i, i, i); }),
                 true};

    const auto rgbLine = [](int p, int y) {
        QByteArray line;
        for (int x = 0; x < W; ++x) {
            const QRgb c = trueColour(x, y);
            line += char(p == 0 ? qRed(c) : p == 1 ? qGreen(c) : p == 2 ? qBlue(c) : alphaAt(x, y));
        }
        return line;
    };
    const QImage rgb = picture(trueColour);
    v << Variant{"24-bit, even padding",
                 {.planes = 3, .bytesPerLine = 14, .planeLine = rgbLine},
                 rgb,
                 false};
    v << Variant{"24-bit, runs across planes and lines",
                 {.planes = 3, .runsCrossLines = true, .planeLine = rgbLine},
                 rgb,
                 false};
    v << Variant{
        "24-bit uncompressed", {.encoding = 0, .planes = 3, .planeLine = rgbLine}, rgb, false};
    v << Variant{"24-bit, window not at 0,0",
                 {.planes = 3, .xMin = 5, .yMin = 300, .planeLine = rgbLine},
                 rgb,
                 false};
    v << Variant{"32-bit RGBA",
                 {.planes = 4, .runsCrossLines = true, .planeLine = rgbLine},
                 picture(
                     [](int x, int y) {
                         const QRgb c = trueColour(x, y);
                         return qRgba(qRed(c), qGreen(c), qBlue(c), alphaAt(x, y));
                     },
                     true),
                 false};
    v << Variant{
        "32-bit with an opaque fourth plane",
        {.planes = 4,
         .planeLine = [=](int p,
                          int y) { return p == 3 ? QByteArray(W, char(255)) : rgbLine(p, y); }},
        rgb,
        false};
    return v;
}

Variant variantNamed(const char* name) {
    for (const Variant& v : variants())
        if (qstrcmp(v.name, name) == 0)
            return v;
    ADD_FAILURE() << "no variant " << name;
    return {};
}

DecodeResult decodeBytes(const QByteArray& data) {
    return pcx::decode(bytesOf(data));
}

} // namespace

TEST(PcxReader, EveryPlaneLayoutDecodesToItsPicture) {
    for (const Variant& v : variants()) {
        SCOPED_TRACE(v.name);
        const QByteArray data = v.file.bytes();
        EXPECT_TRUE(pcx::sniff(bytesOf(data)));
        const DecodeResult r = decodeBytes(data);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.format, Pcx);
        EXPECT_EQ(r.image.bitsPerPixel, v.file.bits * v.file.planes);
        EXPECT_EQ(r.image.sourceHadPalette, v.paletted);
        EXPECT_EQ(r.image.fileSize, data.size());
        EXPECT_EQ(r.fullWidth, W);
        EXPECT_EQ(r.image.pixels.format(), v.picture.format());
        EXPECT_TRUE(samePixels(v.picture, r.image.pixels));
    }
}

// Cut anywhere, a file decodes to nothing (less than one scan line) or to the
// lines that arrived whole, each exact, the rest black.
TEST(PcxReader, TruncatedFilesKeepTheLinesThatArrived) {
    for (const Variant& v : variants()) {
        if (v.file.planes < 3 && v.file.bits != 1)
            continue; // a trailing palette would be cut first; covered below
        SCOPED_TRACE(v.name);
        const QByteArray full = v.file.bytes();
        const DecodeResult whole = decodeBytes(full);
        ASSERT_TRUE(whole.ok());
        for (qsizetype cut = 0; cut < full.size(); ++cut) {
            const QByteArray part(full.constData(), cut);
            const DecodeResult r = decodeBytes(part);
            if (v.file.encoding == 0) {
                EXPECT_EQ(r.ok(), cut >= 128 + v.file.bpl() * v.file.planes) << cut;
            }
            if (!r.ok())
                continue;
            int complete = 0;
            for (int y = 0; y < H; ++y) {
                const QImage got = r.image.pixels.copy(0, y, W, 1);
                if (samePixels(whole.image.pixels.copy(0, y, W, 1), got)) {
                    EXPECT_EQ(complete, y) << cut;
                    ++complete;
                    continue;
                }
                for (int x = 0; x < W; ++x)
                    EXPECT_EQ(got.pixel(x, 0) & 0xffffffu, 0u) << cut;
            }
            EXPECT_GE(complete, 1) << cut;
        }
    }
}

TEST(PcxReader, CutPaletteFilesNeverReadThePaletteAsPixels) {
    const Variant v = variantNamed("256 colours, odd bytes per line");
    const QByteArray full = v.file.bytes();
    // Without its last byte the palette is no longer found: the picture
    // decodes as grey levels, from the pixel data alone.
    const DecodeResult r = decodeBytes(full.left(full.size() - 1));
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(samePixels(picture([](int x, int y) {
                               const int i = indexAt(x, y, 256);
                               return qRgb(i, i, i);
                           }),
                           r.image.pixels));
}

TEST(PcxReader, DamagedHeadersAreRefused) {
    const PcxFile good = variantNamed("24-bit, even padding").file;
    struct Damage {
        const char* name;
        std::function<void(QByteArray&)> apply;
    };
    const Damage damages[] = {
        {"short header", [](QByteArray& d) { d.resize(100); }},
        {"not 0x0A", [](QByteArray& d) { d[0] = 0x0b; }},
        {"version 1", [](QByteArray& d) { d[1] = 1; }},
        {"encoding 2", [](QByteArray& d) { d[2] = 2; }},
        {"3 bits per plane", [](QByteArray& d) { d[3] = 3; }},
        {"8 bits in 2 planes", [](QByteArray& d) { d[65] = 2; }},
        {"Xmax below Xmin", [](QByteArray& d) { d[4] = 100; }},
        {"Ymax below Ymin", [](QByteArray& d) { d[6] = char(0xff), d[7] = 0x7f; }},
        {"bytes per line too small", [](QByteArray& d) { d[66] = 12; }},
        {"bytes per line zero", [](QByteArray& d) { d[66] = 0; }},
        {"65535 x 65535", [](QByteArray& d) { d[8] = d[9] = d[10] = d[11] = char(0xff); }},
        {"no pixel data", [](QByteArray& d) { d.resize(128); }},
        {"run past the end", [](QByteArray& d) { d.resize(130), d[128] = char(0xc5); }},
    };
    for (const Damage& dmg : damages) {
        SCOPED_TRACE(dmg.name);
        QByteArray data = good.bytes();
        dmg.apply(data);
        const DecodeResult r = decodeBytes(data);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_FALSE(
        pcx::sniff(bytesOf(QByteArray("Hello, this is text, not a picture at all.").repeated(4))));
}
