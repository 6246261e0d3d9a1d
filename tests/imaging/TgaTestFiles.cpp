// TGA files built byte by byte, one per type, depth, origin and alpha rule,
// each with the picture it must decode to, and damaged headers. The loops
// over them are in CodecTest.cpp.
#include "support/ImagingSupport.h"

using namespace dovi::imaging;

namespace dovi::test {

namespace {

constexpr int W = 9; // odd, and not a multiple of any packet length used
constexpr int H = 5;

// 5-bit channel values with their 8-bit widening, as the published TGA
// reference pictures show it.
constexpr int kFive[][2] = {{0, 0}, {4, 33}, {5, 41}, {22, 181}, {24, 197}, {27, 222}, {31, 255}};

using PixelBytes = std::function<QByteArray(int, int)>;

// A file under construction: the stored bytes of each pixel come from
// pixelBytes(x, y) in display coordinates and are laid out in the order the
// descriptor's origin bits give.
struct TgaFile {
    QByteArray id{};
    int colourMapType = 0, type = 2, mapFirst = 0, mapLength = 0, mapBits = 0;
    int depth = 24, descriptor = 0;
    QByteArray map{};
    PixelBytes pixelBytes{};
    int extensionAttribute = -1;

    QByteArray pixelStream() const {
        QList<QByteArray> pixels;
        for (int row = 0; row < H; ++row)
            for (int col = 0; col < W; ++col)
                pixels << pixelBytes((descriptor & 0x10) ? W - 1 - col : col,
                                     (descriptor & 0x20) ? row : H - 1 - row);
        if (type < 9)
            return pixels.join();
        // RLE as one stream: repeat packets as long as pixels repeat, raw
        // packets of at most 7, so packets of both kinds span row ends.
        QByteArray out;
        for (qsizetype i = 0; i < pixels.size();) {
            qsizetype run = 1;
            while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i])
                ++run;
            if (run > 1) {
                out += char(0x80 | (run - 1)) + pixels[i];
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
        Le header;
        header.bytes({int(id.size()), colourMapType, type}).u16(mapFirst).u16(mapLength);
        header.u8(mapBits).u32(0).u16(W).u16(H).u8(depth).u8(descriptor);
        QByteArray out = QByteArray(header) + id + map + pixelStream();
        if (extensionAttribute >= 0) // a TGA 2.0 extension area and footer
            out +=
                QByteArray(Le().u16(495).zeros(492).u8(extensionAttribute).u32(out.size()).u32(0)) +
                QByteArray("TRUEVISION-XFILE.", 18);
        return out;
    }
};

const auto bgr = [](QRgb c) -> QByteArray { return bytes({qBlue(c), qGreen(c), qRed(c)}); };
const auto bgra = [](QRgb c) { return bgr(c) + char(qAlpha(c)); };
const auto le16 = [](int v) -> QByteArray { return Le().u16(v); };

// Display colour of (x, y): varied, except rows 1 and 2, one colour for
// RLE repeat packets that run across a row end. Alpha varies within every
// row, so a single decoded row already shows a meaningful channel.
QRgb colourAt(int x, int y) {
    if (y == 1 || y == 2)
        return qRgb(10, 200, 30);
    return qRgb(x * 28, 40 + y * 50, 250 - x * 20);
}
QRgb withAlpha(int x, int y) {
    const int a = (y == 1 || y == 2) ? 128 : (x * 31 + y * 7) % 256;
    return (colourAt(x, y) & 0xffffffu) | QRgb(a) << 24;
}

// A 5-5-5 pixel value at (x, y) and the colour it widens to.
const auto five = [](int x, int y) {
    return kFive[(x + y) % 7][0] << 10 | kFive[(x * 3 + y) % 7][0] << 5 | kFive[y % 7][0];
};
const auto fiveWide = [](int x, int y) {
    return qRgb(kFive[(x + y) % 7][1], kFive[(x * 3 + y) % 7][1], kFive[y % 7][1]);
};

// Every origin, raw and RLE, for one kind of pixel.
void allOrigins(std::vector<Variant>& out, const std::string& name, const TgaFile& file,
                const QImage& picture) {
    static const char* kOrigins[] = {"bottom-left", "bottom-right", "top-left", "top-right"};
    for (int origin = 0; origin < 4; ++origin) {
        for (const bool rle : {false, true}) {
            TgaFile f = file;
            f.descriptor = (file.descriptor & 0x0f) | (origin << 4);
            f.type = rle ? (file.type | 8) : file.type;
            out.push_back({name + ' ' + kOrigins[origin] + (rle ? " rle" : " raw"), f.bytes(),
                           picture, f.depth, (f.type & 7) == 1, true, origin < 2,
                           18 + f.id.size() + f.map.size(), rle ? 0 : W * ((f.depth + 7) / 8)});
        }
    }
}

// A true-colour or grey file whose pixels come from bytesAt; origin 0x20
// stores the top row first.
TgaFile plain(int type, int depth, int descriptor, PixelBytes bytesAt, int extension = -1) {
    return {{}, 0, type, 0, 0, 0, depth, descriptor, {}, bytesAt, extension};
}

} // namespace

std::vector<Variant> tgaVariants() {
    std::vector<Variant> v;
    const auto grey = [](int x, int y) { return qRed(colourAt(x, y)); };
    const auto greyAt = [=](int x, int y) {
        return qRgba(grey(x, y), grey(x, y), grey(x, y), qAlpha(withAlpha(x, y)));
    };
    const PixelBytes rgbBytes = [](int x, int y) { return bgr(colourAt(x, y)); };
    const PixelBytes alphaBytes = [](int x, int y) { return bgra(withAlpha(x, y)); };
    // The attribute bit is set on half the pixels.
    const PixelBytes bits16 = [](int x, int y) { return le16(five(x, y) | ((x & 1) << 15)); };
    allOrigins(v, "24-bit", plain(2, 24, 0, rgbBytes), paint(W, H, colourAt));
    allOrigins(v, "24-bit with an image id",
               {.id = "a picture id, skipped", .pixelBytes = rgbBytes}, paint(W, H, colourAt));
    allOrigins(v, "32-bit alpha", plain(2, 32, 8, alphaBytes), paint(W, H, withAlpha, true));
    // The descriptor claims one alpha bit: without an extension area
    // vouching for it, the attribute bit is ignored.
    allOrigins(v, "16-bit", plain(2, 16, 1, bits16), paint(W, H, fiveWide));
    allOrigins(v, "grey",
               plain(3, 8, 0, [=](int x, int y) { return QByteArray(1, char(grey(x, y))); }),
               paint(W, H, [=](int x, int y) { return greyAt(x, y) | 0xff000000u; }));
    allOrigins(v, "grey+alpha",
               plain(3, 16, 8,
                     [=](int x, int y) {
                         return bytes({grey(x, y), qAlpha(withAlpha(x, y))});
                     }),
               paint(W, H, greyAt, true));

    // Colour-mapped: entries stored from index 3 on; indexes 0..2 and past
    // the map's end show black. Entry i as each map entry size stores it, and
    // the colour it shows.
    const auto index = [](int x, int y) { return (y == 1 || y == 2) ? 5 : (x + 2 * y) % 12; };
    const auto mapColour = [](int i) { return qRgba(i * 20, 255 - i * 15, i * 7, 60 + i * 10); };
    const auto five16 = [](int i) {
        return le16(kFive[i % 7][0] << 10 | kFive[(i + 2) % 7][0] << 5 | kFive[(i + 4) % 7][0]);
    };
    const auto fiveColour = [](int i) {
        return qRgb(kFive[i % 7][1], kFive[(i + 2) % 7][1], kFive[(i + 4) % 7][1]);
    };
    const struct {
        const char* name;
        int bits, descriptor;
        std::function<QByteArray(int)> entry;
        std::function<QRgb(int)> colour;
        bool alpha;
    } maps[] = {
        {"map24", 24, 0, [=](int i) { return bgr(mapColour(i)); },
         [=](int i) { return mapColour(i) | 0xff000000u; }, false},
        {"map32 alpha", 32, 8, [=](int i) { return bgra(mapColour(i)); }, mapColour, true},
        {"map15", 15, 0, five16, fiveColour, false},
        {"map16", 16, 0, five16, fiveColour, false},
    };
    for (const auto& m : maps) {
        // Type 1, map type 1: seven entries from index 3, 8-bit indexes.
        TgaFile f{{}, 1,
                  1,  3,
                  7,  m.bits,
                  8,  m.descriptor,
                  {}, [=](int x, int y) { return QByteArray(1, char(index(x, y))); }};
        for (int i = 3; i < 10; ++i)
            f.map += m.entry(i);
        const auto shown = [=](int x, int y) {
            const int i = index(x, y);
            return i < 3 || i >= 10 ? qRgb(0, 0, 0) : m.colour(i);
        };
        allOrigins(v, m.name, f, paint(W, H, shown, m.alpha));
        if (m.bits != 24)
            continue;
        // 16-bit indexes into a map starting at 300.
        TgaFile wide = f;
        wide.depth = 16;
        wide.mapFirst = 300;
        wide.pixelBytes = [=](int x, int y) { return le16(index(x, y) + 297); };
        allOrigins(v, "16-bit index", wide, paint(W, H, shown));
        // A map running past index 255, which 8-bit indexes cannot reach: the
        // entries beyond are never stored.
        f.mapLength = 260;
        for (int i = 10; i < 3 + 260; ++i)
            f.map += bgr(qRgb(i & 0xff, 7, 9));
        const auto longShown = [=](int x, int y) {
            return index(x, y) >= 10 ? qRgb(index(x, y), 7, 9) : shown(x, y);
        };
        v.push_back({"map running past index 255", f.bytes(), paint(W, H, longShown), 8, true});
    }
    // What the alpha channel means: the descriptor's alpha bits, unless a TGA
    // 2.0 extension area says otherwise; a channel of zeros is ignored; 15-bit
    // never has alpha. (Cut short, these files lose the extension area first.)
    const auto from16 = [](int x, int y, bool alpha) {
        return (fiveWide(x, y) & 0xffffffu) | (alpha && !(x & 1) ? 0u : 0xff000000u);
    };
    const auto premultiplied = [](int x, int y) {
        const QRgb c = withAlpha(x, y);
        const int a = qAlpha(c);
        return bytes({qBlue(c) * a / 255, qGreen(c) * a / 255, qRed(c) * a / 255, a});
    };
    const auto unpremultiplied = [](int x, int y) {
        const QRgb c = withAlpha(x, y);
        const int a = qAlpha(c);
        auto round = [a](int v) { return a ? ((v * a / 255) * 255 + a / 2) / a : 0; };
        return a ? qRgba(round(qRed(c)), round(qGreen(c)), round(qBlue(c)), a) : 0u;
    };
    const struct {
        const char* name;
        TgaFile file;
        std::function<QRgb(int, int)> expect;
        bool alpha;
    } cases[] = {
        // clang-format off
        {"32-bit, no alpha bits", plain(2, 32, 0, alphaBytes), colourAt, false},
        {"32-bit, all-zero alpha", plain(2, 32, 8, [](int x, int y) { return bgr(colourAt(x, y)) + '\0'; }), colourAt, false},
        {"32-bit, extension: no alpha", plain(2, 32, 8, alphaBytes, 0), colourAt, false},
        {"32-bit, extension: alpha despite no bits", plain(2, 32, 0, alphaBytes, 3), withAlpha, true},
        {"32-bit, extension: premultiplied", plain(2, 32, 8, premultiplied, 4), unpremultiplied, true},
        {"16-bit, extension vouches for the attribute bit", plain(2, 16, 1, bits16, 3), [=](int x, int y) { return from16(x, y, true); }, true},
        {"15-bit, attribute bit never alpha", plain(2, 15, 1, bits16, 3), [=](int x, int y) { return from16(x, y, false); }, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        TgaFile f = c.file;
        f.descriptor |= 0x20;
        v.push_back({c.name, f.bytes(), paint(W, H, c.expect, c.alpha), f.depth});
    }
    return v;
}

std::vector<Broken> tgaBroken() {
    const QByteArray good =
        plain(2, 24, 0, [](int x, int y) { return bgr(colourAt(x, y)); }).bytes();
    using D = QByteArray&;
    return {
        {"zero width", damaged(good, [](D d) { d[12] = 0, d[13] = 0; })},
        {"zero height", damaged(good, [](D d) { d[14] = 0, d[15] = 0; })},
        {"65535 x 65535", damaged(good, [](D d) { d[12] = d[13] = d[14] = d[15] = char(0xff); })},
        {"no image data (type 0)", damaged(good, [](D d) { d[2] = 0; })},
        {"unknown type 32", damaged(good, [](D d) { d[2] = 32; })},
        {"unknown depth 7", damaged(good, [](D d) { d[16] = 7; })},
        {"colour map type 2", damaged(good, [](D d) { d[1] = 2; })},
        {"colour-mapped without a map", damaged(good, [](D d) { d[2] = 1, d[16] = 8; })},
        {"map entry size 8",
         damaged(good, [](D d) { d[1] = 1, d[2] = 1, d[5] = 4, d[7] = 8, d[16] = 8; })},
        {"colour map past the end",
         damaged(good, [](D d) { d[1] = 1, d[6] = char(0x7f), d[7] = 24; })},
        {"image id past the end", damaged(good, [](D d) { d.resize(30), d[0] = char(200); })},
        {"RLE stream empty", damaged(good, [](D d) { d.resize(18), d[2] = 10; })},
        {"RLE packet past the end",
         damaged(good, [](D d) { d.resize(20), d[2] = 10, d[18] = char(0x7f); })},
        {"plain text", "Hello, this is a plain text file and nothing else.\n"},
    };
}

} // namespace dovi::test
