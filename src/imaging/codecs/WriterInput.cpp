#include "imaging/codecs/WriterInput.h"

#include "imaging/CheckedSize.h"

#include <array>

namespace dovi::imaging {

QImage writableCopy(const QImage& pixels) {
    if (pixels.isNull())
        return {};
    const QImage::Format want =
        pixels.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return pixels.format() == want ? pixels : pixels.convertToFormat(want);
}

QImage checkedWriterInput(const Image& image, const QString& format, QString* error) {
    if (image.isNull()) {
        failWith(error, QStringLiteral("no picture to write"));
        return {};
    }
    QImage src = writableCopy(image.pixels);
    if (src.isNull()) {
        failWith(error, QStringLiteral("not enough memory to convert the picture"));
        return {};
    }
    if (!dimensionsAllowed(src.width(), src.height())) {
        failWith(error, QStringLiteral("picture too large for ") + format);
        return {};
    }
    return src;
}

bool hasTranslucentPixel(const QImage& image) {
    if (image.format() != QImage::Format_ARGB32)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return true;
    }
    return false;
}

bool indexColours(const QImage& image, std::vector<QRgb>& palette,
                  std::vector<std::uint8_t>& indices) {
    // Open addressing over 1024 slots keeps the table at most a quarter full;
    // key 0 marks an empty slot, which no opaque colour can be.
    constexpr std::uint32_t kSlots = 1024;
    std::array<QRgb, kSlots> keys{};
    std::array<std::uint8_t, kSlots> values{};
    palette.clear();
    indices.clear();
    const CheckedSize count = CheckedSize(image.width()) * image.height();
    if (!count.valid())
        return false;
    indices.assign(count.value(), 0);
    std::uint8_t* out = indices.data();
    QRgb last = 0;
    std::uint8_t lastIndex = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (c != last || palette.empty()) {
                std::uint32_t slot = ((c & 0xffffffu) * 2654435761u) >> 22;
                while (keys[slot] != 0 && keys[slot] != c)
                    slot = (slot + 1) & (kSlots - 1);
                if (keys[slot] == 0) {
                    if (palette.size() == 256) {
                        palette.clear();
                        indices.clear();
                        return false;
                    }
                    keys[slot] = c;
                    values[slot] = static_cast<std::uint8_t>(palette.size());
                    palette.push_back(c);
                }
                last = c;
                lastIndex = values[slot];
            }
            *out++ = lastIndex;
        }
    }
    return true;
}

} // namespace dovi::imaging
