#include "imaging/codecs/BmpCodec.h"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

// BMP writing. Opaque pictures get a BITMAPINFOHEADER, bottom-up: 1, 4 or
// 8-bit indexed when the source was paletted and at most 256 colours are used,
// 24-bit otherwise. Pictures with any translucent pixel get 32-bit BGRA with a
// BITMAPV5HEADER whose bit masks name the alpha channel, the form other
// programs read alpha from. A picture transparent everywhere reads back
// opaque (readers, ours included, take all-zero alpha for "no alpha"); the
// decoder never produces one.
namespace dovi::imaging::bmp {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoSize = 40;
constexpr std::uint32_t kV5Size = 124;
constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dpi

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

class Out {
public:
    explicit Out(std::uint8_t* p) : p_(p) {}
    void u16(std::uint32_t v) {
        *p_++ = static_cast<std::uint8_t>(v);
        *p_++ = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    void zeros(std::size_t n) {
        std::memset(p_, 0, n);
        p_ += n;
    }

private:
    std::uint8_t* p_;
};

// The colours of an opaque picture, up to 256, with an index lookup. Open
// addressing over RGB values with the alpha byte set, so 0 marks a free slot.
class Palette {
public:
    // False when the picture uses more than 256 colours.
    bool collect(const QImage& image) {
        const int width = image.width();
        for (int y = 0, height = image.height(); y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            QRgb last = 0;
            for (int x = 0; x < width; ++x) {
                const QRgb c = line[x] | 0xff000000u;
                if (c == last)
                    continue;
                last = c;
                const std::size_t i = find(c);
                if (keys_[i] == c)
                    continue;
                if (colours_.size() == 256)
                    return false;
                keys_[i] = c;
                values_[i] = static_cast<std::uint8_t>(colours_.size());
                colours_.push_back(c);
            }
        }
        return true;
    }
    std::uint8_t index(QRgb c) const { return values_[find(c | 0xff000000u)]; }
    const std::vector<QRgb>& colours() const { return colours_; }

private:
    std::size_t find(QRgb c) const {
        std::size_t i = (c * 0x9e3779b1u) >> 22;
        while (keys_[i] != 0 && keys_[i] != c)
            i = (i + 1) & (kSlots - 1);
        return i;
    }
    static constexpr std::size_t kSlots = 1024;
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> values_{};
    std::vector<QRgb> colours_;
};

bool anyTranslucent(const QImage& image) {
    const int width = image.width();
    for (int y = 0, height = image.height(); y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            if (qAlpha(line[x]) != 255)
                return true;
    }
    return false;
}

bool writeFile(const QImage& img, int bpp, const Palette* palette, QByteArray& out,
               QString* error) {
    const bool alpha = bpp == 32;
    const std::uint32_t infoSize = alpha ? kV5Size : kInfoSize;
    const std::uint32_t colours =
        palette ? static_cast<std::uint32_t>(palette->colours().size()) : 0;
    const std::uint64_t stride = (static_cast<std::uint64_t>(img.width()) * bpp + 31) / 32 * 4;
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(img.height());
    const std::uint64_t offset = kFileHeaderSize + infoSize + 4ull * colours;
    if (offset + imageSize > 0xffffffffull)
        return fail(error, QStringLiteral("picture too large for a BMP file"));
    out.resize(static_cast<qsizetype>(offset + imageSize));
    auto* data = reinterpret_cast<std::uint8_t*>(out.data());

    Out h(data);
    h.u16('B' | ('M' << 8));
    h.u32(static_cast<std::uint32_t>(offset + imageSize));
    h.u32(0);
    h.u32(static_cast<std::uint32_t>(offset));
    h.u32(infoSize);
    h.u32(static_cast<std::uint32_t>(img.width()));
    h.u32(static_cast<std::uint32_t>(img.height())); // positive: bottom-up
    h.u16(1);
    h.u16(static_cast<std::uint32_t>(bpp));
    h.u32(alpha ? 3 : 0); // BI_BITFIELDS carries the alpha mask
    h.u32(static_cast<std::uint32_t>(imageSize));
    h.u32(kPixelsPerMetre);
    h.u32(kPixelsPerMetre);
    h.u32(colours);
    h.u32(0);
    if (alpha) {
        h.u32(0x00ff0000);
        h.u32(0x0000ff00);
        h.u32(0x000000ff);
        h.u32(0xff000000);
        h.u32(0x73524742); // LCS_sRGB
        h.zeros(36 + 12);  // endpoints and gamma: unused with sRGB
        h.u32(4);          // LCS_GM_IMAGES
        h.zeros(12);       // no profile, reserved
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const QRgb c = palette->colours()[i];
        h.u32(c & 0x00ffffffu); // B, G, R, reserved 0
    }

    const int width = img.width();
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bpp + 7) / 8;
    for (int r = 0; r < img.height(); ++r) {
        const auto* s = reinterpret_cast<const QRgb*>(img.constScanLine(img.height() - 1 - r));
        std::uint8_t* d = data + offset + r * stride;
        std::memset(d + rowBytes, 0, stride - rowBytes);
        switch (bpp) {
        case 32:
            for (int x = 0; x < width; ++x, d += 4) {
                d[0] = static_cast<std::uint8_t>(s[x]);
                d[1] = static_cast<std::uint8_t>(s[x] >> 8);
                d[2] = static_cast<std::uint8_t>(s[x] >> 16);
                d[3] = static_cast<std::uint8_t>(s[x] >> 24);
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x, d += 3) {
                d[0] = static_cast<std::uint8_t>(s[x]);
                d[1] = static_cast<std::uint8_t>(s[x] >> 8);
                d[2] = static_cast<std::uint8_t>(s[x] >> 16);
            }
            break;
        case 8:
            for (int x = 0; x < width; ++x)
                d[x] = palette->index(s[x]);
            break;
        default: {
            // 4 or 1 bit: pack indexes from the most significant bits down.
            std::memset(d, 0, rowBytes);
            const int perByte = 8 / bpp;
            for (int x = 0; x < width; ++x) {
                const int shift = bpp * (perByte - 1 - x % perByte);
                d[x / perByte] |= static_cast<std::uint8_t>(palette->index(s[x]) << shift);
            }
            break;
        }
        }
    }
    return true;
}

} // namespace

bool encode(const Image& image, QByteArray& out, QString* error) {
    if (image.isNull())
        return fail(error, QStringLiteral("no picture to write"));
    QImage img = image.pixels;
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
        img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                        : QImage::Format_RGB32);
    if (img.isNull())
        return fail(error, QStringLiteral("not enough memory to convert the picture"));

    if (img.format() == QImage::Format_ARGB32 && anyTranslucent(img))
        return writeFile(img, 32, nullptr, out, error);
    if (image.sourceHadPalette) {
        auto palette = std::make_unique<Palette>();
        if (palette->collect(img)) {
            const std::size_t n = palette->colours().size();
            const int bpp = n <= 2 ? 1 : n <= 16 ? 4 : 8;
            return writeFile(img, bpp, palette.get(), out, error);
        }
    }
    return writeFile(img, 24, nullptr, out, error);
}

} // namespace dovi::imaging::bmp
