#include "imaging/codecs/bmp/BmpCodec.h"

#include "imaging/codecs/WriterInput.h"

#include <cstring>
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

// The palette and indices (one byte a pixel, top row first) are given for
// 1, 4 and 8 bits.
bool writeFile(const QImage& img, int bpp, const std::vector<QRgb>& palette,
               const std::vector<std::uint8_t>& indices, QByteArray& out, QString* error) {
    const bool alpha = bpp == 32;
    const std::uint32_t infoSize = alpha ? kV5Size : kInfoSize;
    const auto colours = static_cast<std::uint32_t>(palette.size());
    const CheckedSize stride = packedBytes(img.width(), bpp, 4);
    const CheckedSize imageSize = stride * img.height();
    const CheckedSize offset = CheckedSize(kFileHeaderSize + infoSize) + CheckedSize(colours) * 4;
    const CheckedSize fileSize = offset + imageSize;
    if (!fileSize.fits(0xffffffffu))
        return failWith(error, QStringLiteral("picture too large for a BMP file"));
    out.resize(static_cast<qsizetype>(fileSize.value()));
    auto* data = reinterpret_cast<std::uint8_t*>(out.data());

    Out h(data);
    h.u16('B' | ('M' << 8));
    h.u32(static_cast<std::uint32_t>(fileSize.value()));
    h.u32(0);
    h.u32(static_cast<std::uint32_t>(offset.value()));
    h.u32(infoSize);
    h.u32(static_cast<std::uint32_t>(img.width()));
    h.u32(static_cast<std::uint32_t>(img.height())); // positive: bottom-up
    h.u16(1);
    h.u16(static_cast<std::uint32_t>(bpp));
    h.u32(alpha ? 3 : 0); // BI_BITFIELDS carries the alpha mask
    h.u32(static_cast<std::uint32_t>(imageSize.value()));
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
    for (const QRgb c : palette)
        h.u32(c & 0x00ffffffu); // B, G, R, reserved 0

    const int width = img.width();
    const std::size_t rowBytes = packedBytes(width, bpp).value();
    for (int r = 0; r < img.height(); ++r) {
        const int y = img.height() - 1 - r; // bottom-up
        const auto* s = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const std::uint8_t* index =
            indices.empty() ? nullptr : indices.data() + std::size_t(y) * std::size_t(width);
        std::uint8_t* d = data + offset.value() + std::size_t(r) * stride.value();
        std::memset(d + rowBytes, 0, stride.value() - rowBytes);
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
            std::memcpy(d, index, std::size_t(width));
            break;
        default: {
            // 4 or 1 bit: pack indexes from the most significant bits down.
            std::memset(d, 0, rowBytes);
            const int perByte = 8 / bpp;
            for (int x = 0; x < width; ++x) {
                const int shift = bpp * (perByte - 1 - x % perByte);
                d[x / perByte] |= static_cast<std::uint8_t>(index[x] << shift);
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
        return failWith(error, QStringLiteral("no picture to write"));
    const QImage img = writableCopy(image.pixels);
    if (img.isNull())
        return failWith(error, QStringLiteral("not enough memory to convert the picture"));

    if (hasTranslucentPixel(img))
        return writeFile(img, 32, {}, {}, out, error);
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> indices;
    if (image.sourceHadPalette && indexColours(img, palette, indices)) {
        const std::size_t n = palette.size();
        return writeFile(img, n <= 2 ? 1 : n <= 16 ? 4 : 8, palette, indices, out, error);
    }
    return writeFile(img, 24, {}, {}, out, error);
}

} // namespace dovi::imaging::bmp
