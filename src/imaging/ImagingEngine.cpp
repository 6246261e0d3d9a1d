#include "imaging/ImagingEngine.h"

#include "imaging/ops/ColourCount.h"
#include "imaging/ops/Effects.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Resample.h"
#include "imaging/ops/Rotate.h"
#include "imaging/ops/Tone.h"

#include <utility>

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
    undoPixels_ = QImage();
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

bool ImagingEngine::save(const QString& path, FormatCode format, const EncodeOptions& options) {
    if (image_.isNull()) {
        lastError_ = QStringLiteral("no image to save");
        return false;
    }
    if (!saveImageFile(image_, path, format, options, &lastError_))
        return false;
    lastError_.clear();
    return true;
}

bool ImagingEngine::undo() {
    if (undoPixels_.isNull())
        return false;
    image_.pixels.swap(undoPixels_);
    undoPixels_ = QImage(); // one step of undo: the undone pixels go
    colourCount_ = -1;
    fullWidth_ = fullHeight_ = 0;
    return true;
}

bool ImagingEngine::apply(QImage result) {
    if (result.isNull())
        return false;
    // The current pixels become the undo copy by a move, not a copy.
    undoPixels_ = std::exchange(image_.pixels, std::move(result));
    // Processed pixels are the picture now; the file's own size no longer applies.
    fullWidth_ = fullHeight_ = 0;
    colourCount_ = -1;
    return true;
}

bool ImagingEngine::flip() {
    return process([&](const QImage& p) { return ops::flip(p); });
}
bool ImagingEngine::mirror() {
    return process([&](const QImage& p) { return ops::mirror(p); });
}
bool ImagingEngine::negate() {
    return process([&](const QImage& p) { return ops::negate(p); });
}
bool ImagingEngine::emboss() {
    return process([&](const QImage& p) { return ops::emboss(p); });
}
bool ImagingEngine::median() {
    return process([&](const QImage& p) { return ops::median(p); });
}
bool ImagingEngine::autoContrast() {
    return process([&](const QImage& p) { return ops::autoContrast(p); });
}
bool ImagingEngine::dilate() {
    return process([&](const QImage& p) { return ops::dilate(p); });
}
bool ImagingEngine::parabolic(bool concave) {
    return process([&](const QImage& p) { return ops::parabolic(p, concave); });
}
bool ImagingEngine::resample(int width, int height) {
    return process([&](const QImage& p) { return ops::resample(p, width, height); });
}
bool ImagingEngine::rotate(double degrees) {
    return process([&](const QImage& p) { return ops::rotate(p, degrees); });
}
bool ImagingEngine::crop(int left, int top, int width, int height) {
    return process([&](const QImage& p) { return ops::crop(p, left, top, width, height); });
}
bool ImagingEngine::brightness(int amount) {
    return process([&](const QImage& p) { return ops::brightness(p, amount); });
}
bool ImagingEngine::contrast(int amount) {
    return process([&](const QImage& p) { return ops::contrast(p, amount); });
}
bool ImagingEngine::sharpen(int amount) {
    return process([&](const QImage& p) { return ops::sharpen(p, amount); });
}
bool ImagingEngine::soften(int amount) {
    return process([&](const QImage& p) { return ops::soften(p, amount); });
}
bool ImagingEngine::blend(int amount) {
    return process([&](const QImage& p) { return ops::blend(p, amount); });
}
bool ImagingEngine::adjustHSL(int hue, int saturation, int luminance) {
    return process([&](const QImage& p) { return ops::adjustHSL(p, hue, saturation, luminance); });
}
bool ImagingEngine::adjustRGB(int red, int green, int blue) {
    return process([&](const QImage& p) { return ops::adjustRGB(p, red, green, blue); });
}
bool ImagingEngine::buttonize(int style, int width, int intensity) {
    return process(
        [&](const QImage& p) { return ops::buttonize(p, style == 1, width, intensity); });
}
bool ImagingEngine::perspective(int direction, int amount) {
    return process([&](const QImage& p) { return ops::perspective(p, direction, amount); });
}

} // namespace dovi::imaging
