#include "FuzzRoundTrip.h"
#include "imaging/codecs/BmpCodec.h"

// The second reading must equal the first, format included.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    return dovi::fuzz::roundTrip(
        data, size, bmp::decode, bmp::encode,
        [](const QImage& a, const QImage& b) { return a == b; }, 512 * 512);
}
