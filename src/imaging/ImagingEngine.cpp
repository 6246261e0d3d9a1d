#include "imaging/ImagingEngine.h"

#include "imaging/ops/ColourCount.h"
#include "imaging/ops/Effects.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Resample.h"
#include "imaging/ops/Rotate.h"
#include "imaging/ops/Tone.h"

namespace dovi::imaging {

bool ImagingEngine::load(const QString& path, const DecodeRequest& request) {
    release();
    DecodeResult result = decodeFile(path, request);
    if (!result.ok()) {
        lastError_ = result.error;
        return false;
    }
    image_ = std::move(result.image);
    fileName_ = path;
    fullWidth_ = result.fullWidth;
    fullHeight_ = result.fullHeight;
    return true;
}

void ImagingEngine::release() {
    image_ = Image{};
    undo_.reset();
    fileName_.clear();
    lastError_.clear();
    fullWidth_ = fullHeight_ = 0;
    colourCount_ = -1;
}

void ImagingEngine::setImage(Image image, const QString& fileName) {
    release();
    image_ = std::move(image);
    fileName_ = fileName;
}

int ImagingEngine::imageWidth() const {
    // A box decode keeps fewer pixels than the file has; the file's size is
    // what the program reports until the picture is processed.
    return fullWidth_ > 0 ? fullWidth_ : image_.pixels.width();
}

int ImagingEngine::imageHeight() const {
    return fullHeight_ > 0 ? fullHeight_ : image_.pixels.height();
}

qint64 ImagingEngine::uniqueColours() const {
    if (image_.isNull())
        return 0;
    if (colourCount_ < 0)
        colourCount_ = ops::uniqueColours(image_.pixels);
    return colourCount_;
}

bool ImagingEngine::saveFile() {
    if (image_.isNull()) {
        lastError_ = QStringLiteral("no image to save");
        return false;
    }
    const EncodeOptions options{jpegLuminanceFactor, jpegChrominanceFactor};
    if (!saveImageFile(image_, saveFileName, static_cast<FormatCode>(saveFileType), options,
                       &lastError_))
        return false;
    lastError_.clear();
    return true;
}

bool ImagingEngine::undo() {
    if (!undo_)
        return false;
    image_ = std::move(*undo_);
    undo_.reset();
    colourCount_ = -1;
    fullWidth_ = fullHeight_ = 0;
    return true;
}

bool ImagingEngine::apply(QImage result) {
    if (result.isNull())
        return false;
    undo_ = image_;
    image_.pixels = std::move(result);
    // Processed pixels are the picture now; the file's own size no longer applies.
    fullWidth_ = fullHeight_ = 0;
    colourCount_ = -1;
    return true;
}

#define DOVI_APPLY(expr)                                                                           \
    do {                                                                                           \
        if (image_.isNull())                                                                       \
            return false;                                                                          \
        return apply(expr);                                                                        \
    } while (0)

bool ImagingEngine::flip() { DOVI_APPLY(ops::flip(image_.pixels)); }
bool ImagingEngine::mirror() { DOVI_APPLY(ops::mirror(image_.pixels)); }
bool ImagingEngine::negate() { DOVI_APPLY(ops::negate(image_.pixels)); }
bool ImagingEngine::emboss() { DOVI_APPLY(ops::emboss(image_.pixels)); }
bool ImagingEngine::median() { DOVI_APPLY(ops::median(image_.pixels)); }
bool ImagingEngine::autoContrast() { DOVI_APPLY(ops::autoContrast(image_.pixels)); }
bool ImagingEngine::dilate() { DOVI_APPLY(ops::dilate(image_.pixels)); }
bool ImagingEngine::parabolic(bool concave) { DOVI_APPLY(ops::parabolic(image_.pixels, concave)); }
bool ImagingEngine::resample(int width, int height) {
    DOVI_APPLY(ops::resample(image_.pixels, width, height));
}
bool ImagingEngine::rotate(double degrees) { DOVI_APPLY(ops::rotate(image_.pixels, degrees)); }
bool ImagingEngine::crop(int left, int top, int width, int height) {
    DOVI_APPLY(ops::crop(image_.pixels, left, top, width, height));
}
bool ImagingEngine::brightness(int amount) { DOVI_APPLY(ops::brightness(image_.pixels, amount)); }
bool ImagingEngine::contrast(int amount) { DOVI_APPLY(ops::contrast(image_.pixels, amount)); }
bool ImagingEngine::sharpen(int amount) { DOVI_APPLY(ops::sharpen(image_.pixels, amount)); }
bool ImagingEngine::soften(int amount) { DOVI_APPLY(ops::soften(image_.pixels, amount)); }
bool ImagingEngine::blend(int amount) { DOVI_APPLY(ops::blend(image_.pixels, amount)); }
bool ImagingEngine::adjustHSL(int hue, int saturation, int luminance) {
    DOVI_APPLY(ops::adjustHSL(image_.pixels, hue, saturation, luminance));
}
bool ImagingEngine::adjustRGB(int red, int green, int blue) {
    DOVI_APPLY(ops::adjustRGB(image_.pixels, red, green, blue));
}
bool ImagingEngine::buttonize(int style, int width, int intensity) {
    DOVI_APPLY(ops::buttonize(image_.pixels, style == 1, width, intensity));
}
bool ImagingEngine::perspective(int direction, int amount) {
    DOVI_APPLY(ops::perspective(image_.pixels, direction, amount));
}

#undef DOVI_APPLY

} // namespace dovi::imaging
