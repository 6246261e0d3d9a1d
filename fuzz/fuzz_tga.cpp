#include "imaging/codecs/TgaCodec.h"

#include <cstddef>
#include <cstdint>

// Decodes the input; a picture that loads is written back and read again, so
// the writer meets every shape of picture the reader can produce.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    tga::sniff(Bytes(data, size));
    const DecodeResult first = tga::decode(Bytes(data, size));
    if (!first.ok())
        return 0;
    QByteArray encoded;
    if (!tga::encode(first.image, encoded))
        __builtin_trap();
    const DecodeResult again =
        tga::decode(Bytes(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                          static_cast<std::size_t>(encoded.size())));
    if (!again.ok() || again.image.pixels.size() != first.image.pixels.size())
        __builtin_trap();
    return 0;
}
