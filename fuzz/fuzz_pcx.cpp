#include "FuzzRoundTrip.h"
#include "imaging/codecs/PcxCodec.h"

// Pictures above 16384 pixels are skipped so each run stays quick; the size
// caps themselves are covered by the unit tests. PCX is written without
// alpha: the second reading must keep every colour of the first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    if (size >= 12) {
        const long w = long(data[8] | data[9] << 8) - long(data[4] | data[5] << 8) + 1;
        const long h = long(data[10] | data[11] << 8) - long(data[6] | data[7] << 8) + 1;
        if (w * h > (1L << 14))
            return 0;
    }
    pcx::sniff(Bytes(data, size));
    return dovi::fuzz::roundTrip(data, size, pcx::decode, pcx::encode,
                                 [](const QImage& a, const QImage& b) {
                                     return dovi::fuzz::sameUnderMask(a, b, 0x00ffffffu);
                                 });
}
