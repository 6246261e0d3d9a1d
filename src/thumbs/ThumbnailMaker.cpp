#include "thumbs/ThumbnailMaker.h"

#include "imaging/ImagingEngine.h"

namespace dovi::thumbs {

Thumbnail makeThumbnail(const QString& path, QSize size) {
    Thumbnail t;
    imaging::ImagingEngine engine;
    if (!engine.load(path, imaging::DecodeRequest{size})) {
        t.error = engine.lastError();
        return t;
    }
    if (!engine.resample(size.width(), size.height())) {
        t.error = QStringLiteral("The picture could not be resampled");
        return t;
    }
    imaging::Image image = engine.copyImage();
    if (!imaging::encodeImage(image, imaging::Bmp, {}, t.bitmap, &t.error))
        return t;
    t.picture = image.pixels;
    return t;
}

} // namespace dovi::thumbs
