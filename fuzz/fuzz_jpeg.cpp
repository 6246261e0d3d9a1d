// Feeds arbitrary bytes to the JPEG reader: a full decode and a DCT-scaled
// one, then a save of whatever decoded and a decode of that.
#include "imaging/codecs/JpegCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Decoding cost follows the declared size, not the input's, and no branch of
// Dovi's code depends on size beyond that. Larger pictures are left to the
// unit tests (huge declared sizes, memory caps), which keeps runs fast enough
// for a million of them.
constexpr qint64 kMaxFuzzPixels = 1 << 16;
constexpr qint64 kMaxSavedPixels = 1 << 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace jpeg = dovi::imaging::jpeg;
    const dovi::imaging::Bytes bytes(data, size);
    const QSize declared = jpeg::uprightSize(bytes);
    if (qint64(declared.width()) * declared.height() > kMaxFuzzPixels)
        return 0;

    const auto scaled = jpeg::decode(bytes, {QSize(64, 48)});
    if (scaled.ok() && (scaled.image.pixels.width() < std::min(64, scaled.fullWidth) ||
                        scaled.image.pixels.height() < std::min(48, scaled.fullHeight)))
        __builtin_trap(); // a scaled decode must still cover the box

    QByteArray saved;
    QSize savedSize;
    {
        const auto full = jpeg::decode(bytes);
        if (!full.ok())
            return 0;
        savedSize = full.image.pixels.size();
        if (savedSize != QSize(full.fullWidth, full.fullHeight))
            __builtin_trap();
        if (qint64(savedSize.width()) * savedSize.height() > kMaxSavedPixels)
            return 0;
        QString error;
        if (!jpeg::encode(full.image, {1 + int(size % 255), 1 + int((size / 255) % 255)}, saved,
                          &error))
            __builtin_trap(); // any decoded picture can be saved
    }
    const auto again = jpeg::decode(dovi::imaging::Bytes(
        reinterpret_cast<const std::uint8_t*>(saved.constData()), std::size_t(saved.size())));
    if (!again.ok() || again.image.pixels.size() != savedSize)
        __builtin_trap(); // a saved file reads back upright at its size
    return 0;
}
