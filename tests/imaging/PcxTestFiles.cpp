// PCX files built byte by byte, one per plane layout, with the picture each
// must decode to, and damaged headers. The loops over them are in
// CodecTest.cpp.
#include "support/ImagingSupport.h"

#include <algorithm>

using namespace dovi::imaging;

namespace dovi::test {

namespace {

constexpr int W = 13;
constexpr int H = 5;
constexpr char kPad = 77; // padding bytes, equal to the grey of uniform rows

// Rows 1 and 2 are uniform grey 77 (index 77 in 8-bit files), so runs can
// cross plane and scan-line ends.
const auto uniformRow = [](int y) { return y == 1 || y == 2; };

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
        Le header;
        header.bytes({0x0a, version, encoding, bits}).u16(xMin).u16(yMin);
        header.u16(xMin + W - 1).u16(yMin + H - 1).u16(72).u16(72);
        QByteArray out = QByteArray(header) + palette16.leftJustified(48, '\0', true);
        out += QByteArray(Le().u8(0).u8(planes).u16(bpl()).u16(1));
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

// Indexes packed bits at a time, leftmost pixel in the top bits: plane p of
// a one-bit layout holds bit p of each index.
std::function<QByteArray(int, int)> packed(int bits, int colours) {
    return [=](int p, int y) {
        QByteArray line((W * bits + 7) / 8, '\0');
        for (int x = 0; x < W; ++x) {
            const int value = (indexAt(x, y, colours) >> p) & ((1 << bits) - 1);
            line[x * bits / 8] =
                char(uchar(line[x * bits / 8]) | value << (8 - bits - x * bits % 8));
        }
        return line;
    };
}

const auto headerColour = [](int i) { return qRgb(i * 16, 255 - i * 9, i * 5 + 3); };
const auto pal256 = [](int i) { return qRgb(255 - i, (i * 7) % 256, i); };
// R, G, B of the first n colours, as the header and the trailing palette store them.
QByteArray paletteBytes(int n, QRgb (*colour)(int)) {
    QByteArray pal;
    for (int i = 0; i < n; ++i)
        pal += bytes({qRed(colour(i)), qGreen(colour(i)), qBlue(colour(i))});
    return pal;
}

constexpr QRgb kEga[16] = {0x000000, 0x0000aa, 0x00aa00, 0x00aaaa, 0xaa0000, 0xaa00aa,
                           0xaa5500, 0xaaaaaa, 0x555555, 0x5555ff, 0x55ff55, 0x55ffff,
                           0xff5555, 0xff55ff, 0xffff55, 0xffffff};

const auto trueColour = [](int x, int y) {
    return uniformRow(y) ? qRgb(77, 77, 77) : qRgb(x * 19, 250 - y * 40, (x * 37 + y) % 256);
};
const auto alphaAt = [](int x, int y) { return uniformRow(y) ? 255 : (x * 20 + y * 3) % 256; };

QImage indexed(int colours, const std::function<QRgb(int)>& pal) {
    return paint(W, H, [=](int x, int y) { return pal(indexAt(x, y, colours)); });
}

QByteArray rgbLine(int p, int y) {
    QByteArray line;
    for (int x = 0; x < W; ++x) {
        const QRgb c = trueColour(x, y);
        line += char(p == 0 ? qRed(c) : p == 1 ? qGreen(c) : p == 2 ? qBlue(c) : alphaAt(x, y));
    }
    return line;
}

} // namespace

std::vector<Variant> pcxVariants() {
    const QImage rgb = paint(W, H, trueColour);
    const QByteArray pal = paletteBytes(16, headerColour);
    const QByteArray trailer = '\x0c' + paletteBytes(256, pal256);
    const auto ega = [](int i) { return kEga[i]; };
    const auto grey = [](int i) { return qRgb(i, i, i); };
    const struct {
        const char* name;
        PcxFile file;
        QImage picture;
    } cases[] = {
        // clang-format off
        {"mono", {.bits = 1, .palette16 = pal, .planeLine = packed(1, 2)},
         indexed(2, [](int i) { return i ? qRgb(255, 255, 255) : qRgb(0, 0, 0); })},
        {"4 colours in 2 planes", {.bits = 1, .planes = 2, .palette16 = pal, .planeLine = packed(1, 4)}, indexed(4, headerColour)},
        {"8 colours in 3 planes", {.bits = 1, .planes = 3, .palette16 = pal, .planeLine = packed(1, 8)}, indexed(8, headerColour)},
        {"16 colours in 4 planes", {.bits = 1, .planes = 4, .bytesPerLine = 3, .palette16 = pal, .planeLine = packed(1, 16)}, indexed(16, headerColour)},
        {"16 colours, version 3: standard EGA colours", {.version = 3, .bits = 1, .planes = 4, .palette16 = pal, .planeLine = packed(1, 16)}, indexed(16, ega)},
        {"16 colours, all-zero palette: standard EGA colours", {.bits = 1, .planes = 4, .runsCrossLines = true, .planeLine = packed(1, 16)}, indexed(16, ega)},
        {"2-bit packed", {.bits = 2, .palette16 = pal, .planeLine = packed(2, 4)}, indexed(4, headerColour)},
        {"4-bit packed", {.bits = 4, .palette16 = pal, .planeLine = packed(4, 16)}, indexed(16, headerColour)},
        {"256 colours, odd bytes per line", {.trailer = trailer, .planeLine = packed(8, 256)}, indexed(256, pal256)},
        {"256 colours, runs across lines", {.trailer = trailer, .runsCrossLines = true, .planeLine = packed(8, 256)}, indexed(256, pal256)},
        {"8-bit without palette: grey, wide padding", {.bytesPerLine = 20, .planeLine = packed(8, 256)}, indexed(256, grey)},
        {"24-bit, even padding", {.planes = 3, .bytesPerLine = 14, .planeLine = rgbLine}, rgb},
        {"24-bit, runs across planes and lines", {.planes = 3, .runsCrossLines = true, .planeLine = rgbLine}, rgb},
        {"24-bit uncompressed", {.encoding = 0, .planes = 3, .planeLine = rgbLine}, rgb},
        {"24-bit, window not at 0,0", {.planes = 3, .xMin = 5, .yMin = 300, .planeLine = rgbLine}, rgb},
        {"32-bit RGBA", {.planes = 4, .runsCrossLines = true, .planeLine = rgbLine},
         paint(W, H, [](int x, int y) { return (trueColour(x, y) & 0xffffffu) | QRgb(alphaAt(x, y)) << 24; }, true)},
        {"32-bit with an opaque fourth plane",
         {.planes = 4, .planeLine = [](int p, int y) { return p == 3 ? QByteArray(W, char(255)) : rgbLine(p, y); }}, rgb},
        // clang-format on
    };
    std::vector<Variant> v;
    for (const auto& c : cases) {
        const PcxFile& f = c.file;
        // A trailing palette would be cut first, turning the picture grey.
        const bool wholeRows = f.planes >= 3 || f.bits == 1;
        v.push_back({c.name, f.bytes(), c.picture, f.bits * f.planes, f.bits * f.planes <= 8,
                     wholeRows, false, 128, f.encoding == 0 ? f.bpl() * f.planes : 0});
    }
    // Without its last byte the palette is no longer found: the picture
    // decodes as grey levels from the pixel data alone, never reading the
    // palette as pixels.
    Variant cut = *std::find_if(v.begin(), v.end(), [](const Variant& each) {
        return each.name == "256 colours, odd bytes per line";
    });
    cut.name = "256 colours, palette cut short";
    cut.file.chop(1);
    cut.picture = indexed(256, grey);
    v.push_back(cut);
    return v;
}

std::vector<Broken> pcxBroken() {
    const QByteArray good = PcxFile{.planes = 3, .bytesPerLine = 14, .planeLine = rgbLine}.bytes();
    using D = QByteArray&;
    return {
        {"short header", damaged(good, [](D d) { d.resize(100); })},
        {"not 0x0A", damaged(good, [](D d) { d[0] = 0x0b; })},
        {"version 1", damaged(good, [](D d) { d[1] = 1; })},
        {"encoding 2", damaged(good, [](D d) { d[2] = 2; })},
        {"3 bits per plane", damaged(good, [](D d) { d[3] = 3; })},
        {"8 bits in 2 planes", damaged(good, [](D d) { d[65] = 2; })},
        {"Xmax below Xmin", damaged(good, [](D d) { d[4] = 100; })},
        {"Ymax below Ymin", damaged(good, [](D d) { d[6] = char(0xff), d[7] = 0x7f; })},
        {"bytes per line too small", damaged(good, [](D d) { d[66] = 12; })},
        {"bytes per line zero", damaged(good, [](D d) { d[66] = 0; })},
        {"65535 x 65535", damaged(good, [](D d) { d[8] = d[9] = d[10] = d[11] = char(0xff); })},
        {"no pixel data", damaged(good, [](D d) { d.resize(128); })},
        {"run past the end", damaged(good, [](D d) { d.resize(130), d[128] = char(0xc5); })},
    };
}

} // namespace dovi::test
