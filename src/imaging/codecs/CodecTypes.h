#pragma once
#include "imaging/CheckedSize.h"
#include "imaging/Image.h"

#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

namespace dovi::imaging {

using Bytes = std::span<const std::uint8_t>;

// Hard caps checked before any pixel buffer is allocated, so no header can ask
// for a huge allocation: at most 32767 pixels a side (coordinates are 16-bit
// signed throughout the program) and 120 million pixels (480 MiB as RGB32).
inline constexpr int kMaxSide = 32767;
inline constexpr qint64 kMaxPixels = 120'000'000;

// What a caller wants from a decode. An empty fitBox means full size. A valid
// fitBox lets a decoder that can scale cheaply (JPEG's DCT scaling) return a
// smaller picture, never smaller than needed to fill the box: the caller still
// resamples to the exact size it wants. The reported width and height are
// always those of the full picture.
struct DecodeRequest {
    QSize fitBox;
    // Keeps a shrunk JPEG decode on the accurate DCT and smooth chroma
    // upsampling, for a picture shown at about the size decoded (a slide),
    // not shrunk much further (a thumbnail).
    bool accurate = false;
};

struct DecodeResult {
    Image image;       // image.pixels null on failure
    int fullWidth = 0; // the picture's size as stored (after EXIF rotation)
    int fullHeight = 0;
    QString error; // why the decode failed; empty on success
    // The file ended or broke off before the last row: the rows it never
    // gave were filled in. Such a picture must not replace its own file.
    bool partial = false;

    bool ok() const { return !image.pixels.isNull(); }
    static DecodeResult failure(QString why) {
        DecodeResult r;
        r.error = std::move(why);
        return r;
    }
};

// How a picture is written. The JPEG factors (1..255, 1 the finest) set the
// quantisation of the brightness and the colour; other formats are lossless.
struct EncodeOptions {
    int jpegLuminanceFactor = 1;
    int jpegChrominanceFactor = 1;
};

// Width and height within the caps above.
inline bool dimensionsAllowed(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           (CheckedSize(width) * CheckedSize(height)).fits(kMaxPixels);
}

// Sets *error when the caller wants a reason; returns false for a tail call.
inline bool failWith(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Allocates a black picture of the given size, or a null image when the size is
// outside the caps or memory is short. Truncated data policy shared by the
// codecs: rows that were never read stay black (opaque black for RGB32), and a
// decode fails when not even one whole row arrived.
QImage allocatePixels(int width, int height, bool withAlpha);

} // namespace dovi::imaging
