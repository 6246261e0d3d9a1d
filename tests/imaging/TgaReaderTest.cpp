// TGA files built byte by byte here, one per type, depth, origin and alpha
// rule, each with the picture it must decode to; then the same files cut
// short and damaged.
#include "imaging/TgaPcxTestTools.h"
#include "imaging/codecs/TgaCodec.h"

#include <functional>

using namespace dovi::imaging;
using namespace dovi::test;
using namespace dovi::test::tgapcx;

namespace {

constexpr int W = 9; // odd, and not a multiple of any packet length used
constexpr int H = 5;

// 5-bit channel values with their 8-bit widening, as the published TGA
// reference pictures show it.
constexpr int kFive[][2] = {{0, 0}, {4, 33}, {5, 41}, {22, 181}, {24, 197}, {27, 222}, {31, 255}};

// A file under construction: the stored bytes of each pixel come from
// pixelBytes(x, y) in display coordinates and are laid out in the order the
// descriptor's origin bits give.
struct TgaFile {
    QByteArray id{};
    int colourMapType = 0, type = 2, mapFirst = 0, mapLength = 0, mapBits = 0;
    int depth = 24, descriptor = 0;
    QByteArray map{};
    std::function<QByteArray(int, int)> pixelBytes{};
    int extensionAttribute = -1; // >= 0: append a TGA 2.0 extension area and footer

    QByteArray pixelStream() const {
        QList<QByteArray> pixels;
        for (int row = 0; row < H; ++row)
            for (int col = 0; col < W; ++col)
                pixels << pixelBytes((descriptor & 0x10) ? W - 1 - col : col,
                                     (descriptor & 0x20) ? row : H - 1 - row);
        QByteArray out;
        if (type < 9) {
            for (const QByteArray& p : pixels)
                out += p;
            return out;
        }
        // RLE as one stream: repeat packets as long as pixels repeat, raw
        // packets of at most 7, so packets of both kinds span row ends.
        for (qsizetype i = 0; i < pixels.size();) {
            qsizetype run = 1;
            while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i])
                ++run;
            if (run > 1) {
                out += char(0x80 | (run - 1));
                out += pixels[i];
                i += run;
                continue;
            }
            qsizetype n = 1;
            while (i + n < pixels.size() && n < 7 && pixels[i + n] != pixels[i + n - 1])
                ++n;
            if (i + n < pixels.size() && n > 1 && pixels[i + n] == pixels[i + n - 1])
                --n; // leave the repeated pixel to start the next run
            out += char(n - 1);
            for (qsizetype k = 0; k < n; ++k)
                out += pixels[i + k];
            i += n;
        }
        return out;
    }

    QByteArray bytes() const {
        QByteArray out;
        out += char(id.size());
        out += char(colourMapType);
        out += char(type);
        put16(out, mapFirst);
        put16(out, mapLength);
        out += char(mapBits);
        put16(out, 0);
        put16(out, 0);
        put16(out, W);
        put16(out, H);
        out += char(depth);
        out += char(descriptor);
        out += id + map + pixelStream();
        if (extensionAttribute >= 0) {
            const int offset = int(out.size());
            QByteArray ext(495, '\0');
            ext[0] = char(495 & 0xff);
            ext[1] = char(495 >> 8);
            ext[494] = char(extensionAttribute);
            out += ext;
            QByteArray footer;
            put16(footer, offset & 0xffff);
            put16(footer, offset >> 16);
            footer += QByteArray(4, '\0');
            footer += QByteArray("TRUEVISION-XFILE.", 17) + '\0';
            out += footer;
        }
        return out;
    }
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out += char(v);
    return out;
}
QByteArray bgr(QRgb c) {
    return bytes({qBlue(c), qGreen(c), qRed(c)});
}
QByteArray bgra(QRgb c) {
    return bgr(c) + char(qAlpha(c));
}
QByteArray le16(int v) {
    return bytes({v & 0xff, v >> 8});
}

// Display colour of (x, y): varied, except rows 1 and 2, one colour for
// RLE repeat packets that run across a row end.
QRgb colourAt(int x, int y) {
    if (y == 1 || y == 2)
        return qRgb(10, 200, 30);
    return qRgb(x * 28, 40 + y * 50, 250 - x * 20);
}
// Alpha that varies within every row, so a single decoded row already shows
// a meaningful channel.
int alphaAt(int x, int y) {
    return (y == 1 || y == 2) ? 128 : (x * 31 + y * 7) % 256;
}

// A 5-5-5 pixel value at (x, y) and the colour it widens to.
int five(int x, int y) {
    return kFive[(x + y) % 7][0] << 10 | kFive[(x * 3 + y) % 7][0] << 5 | kFive[y % 7][0];
}
QRgb fiveWide(int x, int y) {
    return qRgb(kFive[(x + y) % 7][1], kFive[(x * 3 + y) % 7][1], kFive[y % 7][1]);
}

QImage expected(const std::function<QRgb(int, int)>& colour, bool alpha) {
    QImage img(W, H, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            img.setPixel(x, y, colour(x, y));
    return img;
}

struct Variant {
    const char* name;
    TgaFile file;
    QImage picture;
};

// Every origin, raw and RLE, for one kind of pixel.
void allOrigins(QList<Variant>& out, const char* name, TgaFile file, const QImage& picture) {
    static const char* kOrigins[] = {"bottom-left", "bottom-right", "top-left", "top-right"};
    for (int origin = 0; origin < 4; ++origin) {
        for (const bool rle : {false, true}) {
            TgaFile f = file;
            f.descriptor = (file.descriptor & 0x0f) | (origin << 4);
            f.type = rle ? (file.type | 8) : file.type;
            static QList<QByteArray> names; // keeps the c_str alive
            names << QByteArray(name) + ' ' + kOrigins[origin] + (rle ? " rle" : " raw");
            out << Variant{names.last().constData(), f, picture};
        }
    }
}

QList<Variant> variants() {
    QList<Variant> v;
    const auto colour = [](int x, int y) { return colourAt(x, y); };
    const auto withAlpha = [](int x, int y) {
        const QRgb c = colourAt(x, y);
        return qRgba(qRed(c), qGreen(c), qBlue(c), alphaAt(x, y));
    };
    const auto grey = [](int x, int y) { return qRed(colourAt(x, y)); };

    TgaFile rgb24{.pixelBytes = [](int x, int y) { return bgr(colourAt(x, y)); }};
    allOrigins(v, "24-bit", rgb24, expected(colour, false));

    TgaFile rgba32{.depth = 32, .descriptor = 8, .pixelBytes = [=](int x, int y) {
                       return bgra(withAlpha(x, y));
                   }};
    allOrigins(v, "32-bit alpha", rgba32, expected(withAlpha, true));

    // The attribute bit is set on half the pixels and the descriptor claims
    // one alpha bit: without an extension area vouching for it, it is ignored.
    TgaFile rgb16{.depth = 16, .descriptor = 1, .pixelBytes = [](int x, int y) {
                      return le16(five(x, y) | ((x & 1) << 15));
                  }};
    allOrigins(v, "16-bit", rgb16, expected(fiveWide, false));

    TgaFile grey8{.type = 3, .depth = 8, .pixelBytes = [=](int x, int y) {
                      return QByteArray(1, char(grey(x, y)));
                  }};
    allOrigins(
        v, "grey", grey8,
        expected([=](int x, int y) { return qRgb(grey(x, y), grey(x, y), grey(x, y)); }, false));

    TgaFile greyAlpha{.type = 3, .depth = 16, .descriptor = 8, .pixelBytes = [=](int x, int y) {
                          return bytes({grey(x, y), alphaAt(x, y)});
                      }};
    allOrigins(
        v, "grey+alpha", greyAlpha,
        expected(
            [=](int x, int y) { return qRgba(grey(x, y), grey(x, y), grey(x, y), alphaAt(x, y)); },
            true));

    // Colour-mapped: entries stored from index 3 on; indexes 0..2 and past
    // the map's end show black.
    const auto index = [](int x, int y) { return (y == 1 || y == 2) ? 5 : (x + 2 * y) % 12; };
    const auto mapColour = [](int i) { return qRgba(i * 20, 255 - i * 15, i * 7, 60 + i * 10); };
    const auto mapped = [=](int x, int y) {
        const int i = index(x, y);
        return (i < 3 || i >= 10) ? qRgb(0, 0, 0) : mapColour(i);
    };
    QByteArray map24, map32, map16;
    for (int i = 3; i < 10; ++i) {
        map24 += bgr(mapColour(i));
        map32 += bgra(mapColour(i));
        map16 += le16(kFive[i % 7][0] << 10 | kFive[(i + 2) % 7][0] << 5 | kFive[(i + 4) % 7][0]);
    }
    TgaFile cmap{.colourMapType = 1,
                 .type = 1,
                 .mapFirst = 3,
                 .mapLength = 7,
                 .mapBits = 24,
                 .depth = 8,
                 .map = map24,
                 .pixelBytes = [=](int x, int y) { return QByteArray(1, char(index(x, y))); }};
    allOrigins(v, "map24", cmap,
               expected([=](int x, int y) { return mapped(x, y) | 0xff000000u; }, false));

    TgaFile cmap32 = cmap;
    cmap32.mapBits = 32;
    cmap32.map = map32;
    cmap32.descriptor = 8;
    allOrigins(v, "map32 alpha", cmap32, expected(mapped, true));

    const auto mapped16 = [](int i) {
        if (i < 3 || i >= 10)
            return qRgb(0, 0, 0);
        return qRgb(kFive[i % 7][1], kFive[(i + 2) % 7][1], kFive[(i + 4) % 7][1]);
    };
    for (const int bits : {15, 16}) {
        TgaFile cmap16 = cmap;
        cmap16.mapBits = bits;
        cmap16.map = map16;
        allOrigins(v, bits == 15 ? "map15" : "map16", cmap16,
                   expected([=](int x, int y) { return mapped16(index(x, y)); }, false));
    }
    TgaFile wideIndex = cmap;
    wideIndex.depth = 16;
    wideIndex.mapFirst = 300;
    wideIndex.pixelBytes = [=](int x, int y) { return le16(index(x, y) + 297); };
    allOrigins(v, "16-bit index", wideIndex,
               expected([=](int x, int y) { return mapped(x, y) | 0xff000000u; }, false));
    return v;
}

DecodeResult decodeBytes(const QByteArray& data) {
    return tga::decode(bytesOf(data));
}

} // namespace

TEST(TgaReader, EveryTypeDepthAndOriginDecodesToItsPicture) {
    for (const Variant& v : variants()) {
        SCOPED_TRACE(v.name);
        const QByteArray data = v.file.bytes();
        EXPECT_TRUE(tga::sniff(bytesOf(data)));
        const DecodeResult r = decodeBytes(data);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.format, Tga);
        EXPECT_EQ(r.image.bitsPerPixel, v.file.depth);
        EXPECT_EQ(r.image.sourceHadPalette, (v.file.type & 7) == 1);
        EXPECT_EQ(r.image.fileSize, data.size());
        EXPECT_EQ(r.image.pixels.format(), v.picture.format());
        EXPECT_TRUE(samePixels(v.picture, r.image.pixels));
    }
}

// What the alpha channel means: the descriptor's alpha bits, unless a TGA 2.0
// extension area says otherwise; a channel of zeros is ignored; 15-bit never
// has alpha.
TEST(TgaReader, AlphaFollowsDescriptorAndExtensionArea) {
    const auto alphaPixel = [](int x, int y) {
        const QRgb c = colourAt(x, y);
        return qRgba(qRed(c), qGreen(c), qBlue(c), alphaAt(x, y));
    };
    struct Case {
        const char* name;
        int depth, descriptor, extension;
        std::function<QByteArray(int, int)> bytes;
        std::function<QRgb(int, int)> expect;
        bool alpha;
    };
    const auto opaque = [](int x, int y) { return colourAt(x, y); };
    const auto bits16 = [](int x, int y) { return le16(five(x, y) | ((x & 1) << 15)); };
    const auto from16 = [](int x, int y, bool alpha) {
        return (fiveWide(x, y) & 0xffffffu) | (alpha && !(x & 1) ? 0u : 0xff000000u);
    };
    const Case cases[] = {
        {"32-bit, no alpha bits", 32, 0, -1, [=](int x, int y) { return bgra(alphaPixel(x, y)); },
         opaque, false},
        {"32-bit, all-zero alpha", 32, 8, -1,
         [](int x, int y) { return bgr(colourAt(x, y)) + '\0'; }, opaque, false},
        {"32-bit, extension: no alpha", 32, 8, 0,
         [=](int x, int y) { return bgra(alphaPixel(x, y)); }, opaque, false},
        {"32-bit, extension: alpha despite no bits", 32, 0, 3,
         [=](int x, int y) { return bgra(alphaPixel(x, y)); }, alphaPixel, true},
        {"32-bit, extension: premultiplied", 32, 8, 4,
         [=](int x, int y) {
             const QRgb c = alphaPixel(x, y);
             const int a = qAlpha(c);
             return bytes({qBlue(c) * a / 255, qGreen(c) * a / 255, qRed(c) * a / 255, a});
         },
         [=](int x, int y) {
             const QRgb c = alphaPixel(x, y);
             const int a = qAlpha(c);
             auto round = [a](int v) { return a ? ((v * a / 255) * 255 + a / 2) / a : 0; };
             return a ? qRgba(round(qRed(c)), round(qGreen(c)), round(qBlue(c)), a) : 0u;
         },
         true},
        {"16-bit, extension vouches for the attribute bit", 16, 1, 3, bits16,
         [=](int x, int y) { return from16(x, y, true); }, true},
        {"15-bit, attribute bit never alpha", 15, 1, 3, bits16,
         [=](int x, int y) { return from16(x, y, false); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TgaFile f{.depth = c.depth,
                  .descriptor = c.descriptor | 0x20,
                  .pixelBytes = c.bytes,
                  .extensionAttribute = c.extension};
        const DecodeResult r = decodeBytes(f.bytes());
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.pixels.hasAlphaChannel(), c.alpha);
        EXPECT_TRUE(samePixels(expected(c.expect, c.alpha), r.image.pixels));
    }
}

TEST(TgaReader, ImageIdIsSkippedAndTextIsNoTga) {
    TgaFile f{.id = QByteArray("a picture id, skipped"),
              .pixelBytes = [](int x, int y) { return bgr(colourAt(x, y)); }};
    const DecodeResult r = decodeBytes(f.bytes());
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(
        samePixels(expected([](int x, int y) { return colourAt(x, y); }, false), r.image.pixels));
    const QByteArray text("Hello, this is a plain text file and nothing else.\n");
    EXPECT_FALSE(tga::sniff(bytesOf(text)));
    EXPECT_FALSE(decodeBytes(text).ok());
    EXPECT_FALSE(tga::sniff(bytesOf(f.bytes().left(17))));
}

// Cut anywhere, a file decodes to nothing (less than one row) or to the rows
// that arrived whole, each exact, the rest black, never reading past the end.
TEST(TgaReader, TruncatedFilesKeepTheRowsThatArrived) {
    const auto withAlpha = [](int x, int y) {
        const QRgb c = colourAt(x, y);
        return qRgba(qRed(c), qGreen(c), qBlue(c), alphaAt(x, y));
    };
    const TgaFile files[] = {
        {.pixelBytes = [](int x, int y) { return bgr(colourAt(x, y)); }},
        {.type = 10,
         .depth = 32,
         .descriptor = 0x28,
         .pixelBytes = [=](int x, int y) { return bgra(withAlpha(x, y)); }},
        {.type = 10, .pixelBytes = [](int x, int y) { return bgr(colourAt(x, y)); }},
    };
    for (const TgaFile& f : files) {
        const QByteArray full = f.bytes();
        const DecodeResult whole = decodeBytes(full);
        ASSERT_TRUE(whole.ok());
        for (qsizetype cut = 0; cut < full.size(); ++cut) {
            SCOPED_TRACE(cut);
            // A copy exactly as long as the cut, so ASan sees any overread.
            const QByteArray part(full.constData(), cut);
            const DecodeResult r = decodeBytes(part);
            const qsizetype firstRowEnd = 18 + (f.type == 2 ? W * 3 : 0);
            if (f.type == 2) {
                EXPECT_EQ(r.ok(), cut >= firstRowEnd);
            }
            if (!r.ok()) {
                EXPECT_FALSE(r.error.isEmpty());
                continue;
            }
            int complete = 0;
            for (int row = 0; row < H; ++row) {
                const int y = (f.descriptor & 0x20) ? row : H - 1 - row;
                const QImage got = r.image.pixels.copy(0, y, W, 1);
                if (samePixels(whole.image.pixels.copy(0, y, W, 1), got)) {
                    EXPECT_EQ(complete, row) << "a complete row after a missing one";
                    ++complete;
                } else {
                    for (int x = 0; x < W; ++x)
                        EXPECT_EQ(qRgb(qRed(got.pixel(x, 0)), qGreen(got.pixel(x, 0)),
                                       qBlue(got.pixel(x, 0))),
                                  qRgb(0, 0, 0));
                }
            }
            EXPECT_GE(complete, 1);
            if (f.type == 2) {
                EXPECT_EQ(complete, std::min<qsizetype>(H, (cut - 18) / (W * 3)));
            }
        }
    }
}

TEST(TgaReader, DamagedHeadersAreRefused) {
    const TgaFile good{.pixelBytes = [](int x, int y) { return bgr(colourAt(x, y)); }};
    struct Damage {
        const char* name;
        std::function<void(QByteArray&)> apply;
    };
    const Damage damages[] = {
        {"zero width", [](QByteArray& d) { d[12] = 0, d[13] = 0; }},
        {"zero height", [](QByteArray& d) { d[14] = 0, d[15] = 0; }},
        {"65535 x 65535", [](QByteArray& d) { d[12] = d[13] = d[14] = d[15] = char(0xff); }},
        {"no image data (type 0)", [](QByteArray& d) { d[2] = 0; }},
        {"unknown type 32", [](QByteArray& d) { d[2] = 32; }},
        {"unknown depth 7", [](QByteArray& d) { d[16] = 7; }},
        {"colour map type 2", [](QByteArray& d) { d[1] = 2; }},
        {"colour-mapped without a map", [](QByteArray& d) { d[2] = 1, d[16] = 8; }},
        {"map entry size 8",
         [](QByteArray& d) { d[1] = 1, d[2] = 1, d[5] = 4, d[7] = 8, d[16] = 8; }},
        {"colour map past the end", [](QByteArray& d) { d[1] = 1, d[6] = char(0x7f), d[7] = 24; }},
        {"image id past the end", [](QByteArray& d) { d.resize(30), d[0] = char(200); }},
        {"RLE stream empty", [](QByteArray& d) { d.resize(18), d[2] = 10; }},
        {"RLE packet past the end",
         [](QByteArray& d) { d.resize(20), d[2] = 10, d[18] = char(0x7f); }},
    };
    for (const Damage& dmg : damages) {
        SCOPED_TRACE(dmg.name);
        QByteArray data = good.bytes();
        dmg.apply(data);
        const DecodeResult r = decodeBytes(data);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.error.isEmpty());
    }
}
