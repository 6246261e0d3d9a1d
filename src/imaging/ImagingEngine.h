#pragma once
#include "imaging/Codecs.h"
#include "imaging/Image.h"

#include <QImage>
#include <QString>

namespace dovi::imaging {

// One engine per view: the current image, one undo copy, and what the loaded
// file said about itself. Instances share nothing, so several can work on
// several threads at once.
class ImagingEngine {
public:
    // Loads a file; on failure the engine is empty and imageFileType() is 0.
    // A fitBox lets the decoder return a smaller picture that still covers the
    // box (JPEG); the facts (width, height, depth, size) are the whole file's.
    bool load(const QString& path, const DecodeRequest& request = {});
    // Releases the image (an empty file name).
    void release();
    // The image of another engine (or any decoded picture) becomes this one's.
    void setImage(Image image, const QString& fileName = {});

    const QString& fileName() const { return fileName_; }
    int imageFileType() const { return image_.isNull() ? 0 : image_.format; }
    bool isLoaded() const { return !image_.isNull(); }
    // Width and height of the current picture; after a box decode, of the file.
    int imageWidth() const;
    int imageHeight() const;
    int bitsPerPixel() const { return image_.bitsPerPixel; }
    qint64 fileSize() const { return image_.fileSize; }
    // The exact number of distinct RGB colours of the current picture, counted
    // once and kept until the picture changes.
    qint64 uniqueColours() const;
    // Why the last load or save failed.
    const QString& lastError() const { return lastError_; }

    const Image& image() const { return image_; }
    const QImage& pixels() const { return image_.pixels; }
    Image copyImage() const { return image_; }

    // Writes the current picture to path in format (Tga, Pcx, Bmp or Jpeg, the
    // last with the options' quality factors), replacing a file there only
    // once the new one is safe. False, with the reason in lastError(), when
    // nothing is loaded or the file cannot be written.
    bool save(const QString& path, FormatCode format, const EncodeOptions& options = {});

    // Restores the picture as it was before the latest processing call: a
    // swap of buffers, never a copy of pixels.
    bool undo();
    bool canUndo() const { return !undoPixels_.isNull(); }

    // Processing: each keeps the current picture as the undo copy and changes
    // it; a call that cannot apply (nothing loaded, bad arguments) changes
    // nothing and returns false.
    bool flip();
    bool mirror();
    bool negate();
    bool emboss();
    bool median();
    bool autoContrast();
    bool dilate();
    bool parabolic(bool concave);
    bool resample(int width, int height);
    bool rotate(double degrees);
    bool crop(int left, int top, int width, int height);
    bool brightness(int amount);
    bool contrast(int amount);
    bool sharpen(int amount);
    bool soften(int amount);
    bool blend(int amount);
    bool adjustHSL(int hue, int saturation, int luminance);
    bool adjustRGB(int red, int green, int blue);
    bool buttonize(int style, int width, int intensity);
    bool perspective(int direction, int amount);

private:
    bool apply(QImage result);
    // Runs one pixel operation on the current picture and keeps its result.
    template <typename Operation> bool process(Operation&& operation) {
        return !image_.isNull() && apply(operation(image_.pixels));
    }

    Image image_;
    // The pixels before the latest processing call (processing changes
    // nothing else of the picture).
    QImage undoPixels_;
    QString fileName_;
    QString lastError_;
    int fullWidth_ = 0;
    int fullHeight_ = 0;
    mutable qint64 colourCount_ = -1;
};

} // namespace dovi::imaging
