#include "imaging/codecs/BmpCodec.h"

#include <cstddef>
#include <cstdint>

// Any input may be refused, never crash. A picture that decodes must survive
// being written and read again unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    const DecodeResult r = bmp::decode(Bytes(data, size));
    if (!r.ok())
        return 0;
    // The write path does not depend on the size; re-encoding large pictures
    // would only spend the run on memory traffic.
    if (qint64{r.image.pixels.width()} * r.image.pixels.height() > 512 * 512)
        return 0;
    QByteArray file;
    if (!bmp::encode(r.image, file))
        __builtin_trap();
    const DecodeResult back = bmp::decode(
        Bytes(reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size())));
    if (!back.ok() || back.image.pixels != r.image.pixels)
        __builtin_trap();
    return 0;
}
