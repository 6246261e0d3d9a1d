#include "imaging/codecs/CodecTypes.h"

#include "imaging/LargeBuffers.h"

namespace dovi::imaging {

QImage allocatePixels(int width, int height, bool withAlpha) {
    if (!dimensionsAllowed(width, height))
        return {};
    QImage img =
        allocateImage(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull())
        return {};
    img.fill(withAlpha ? 0x00000000u : 0xff000000u);
    return img;
}

} // namespace dovi::imaging
