#include "FuzzRoundTrip.h"
#include "imaging/codecs/TgaCodec.h"

// Pictures above 16384 pixels are skipped so each run stays quick; the size
// caps themselves are covered by the unit tests. The written file must read
// back to every pixel of the first reading.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    if (size >= 16 && long(data[12] | data[13] << 8) * long(data[14] | data[15] << 8) > (1L << 14))
        return 0;
    tga::sniff(Bytes(data, size));
    return dovi::fuzz::roundTrip(data, size, tga::decode, tga::encode,
                                 [](const QImage& a, const QImage& b) {
                                     return dovi::fuzz::sameUnderMask(a, b, 0xffffffffu);
                                 });
}
