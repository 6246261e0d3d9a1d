#include "imaging/codecs/jpeg/JpegCodec.h"

namespace dovi::imaging::jpeg {

bool sniff(Bytes head) {
    // SOI followed by the start of the next marker.
    return head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

} // namespace dovi::imaging::jpeg
