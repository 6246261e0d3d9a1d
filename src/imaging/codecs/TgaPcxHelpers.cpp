#include "imaging/codecs/TgaPcxHelpers.h"

#include <algorithm>
#include <array>

namespace dovi::imaging::tgapcx {

void makeOpaque(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xff000000u;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

void unpremultiply(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(line[x]);
            if (a == 255)
                continue;
            if (a == 0) {
                line[x] = 0;
                continue;
            }
            auto un = [a](int c) { return (std::min(c, a) * 255 + a / 2) / a; };
            line[x] = qRgba(un(qRed(line[x])), un(qGreen(line[x])), un(qBlue(line[x])), a);
        }
    }
}

QImage writableCopy(const QImage& pixels) {
    if (pixels.isNull())
        return {};
    const QImage::Format want =
        pixels.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return pixels.format() == want ? pixels : pixels.convertToFormat(want);
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
    indices.assign(static_cast<std::size_t>(image.width()) * image.height(), 0);
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

} // namespace dovi::imaging::tgapcx
