#include "imaging/codecs/jpeg/JpegPixels.h"

#include <algorithm>

namespace dovi::imaging::jpeg {

namespace {

// a * b / 255, rounded to nearest, exact for 0..255 inputs.
inline int mul255(int a, int b) {
    const int t = a * b + 128;
    return ((t >> 8) + t) >> 8;
}

} // namespace

RowPlacer::RowPlacer(QImage& target, int orientation)
    : target_(target), transpose_(orientation >= 5 && orientation <= 8) {
    bits_ = target_.bits();
    stride_ = target_.bytesPerLine();
    sourceWidth_ = transpose_ ? target_.height() : target_.width();
    sourceHeight_ = transpose_ ? target_.width() : target_.height();
    switch (orientation) {
    case 2:
        mirrorX_ = true;
        break;
    case 3:
        mirrorX_ = flipY_ = true;
        break;
    case 4:
        flipY_ = true;
        break;
    case 6:
        reverseColumns_ = true;
        break;
    case 7:
        reverseColumns_ = reverseRows_ = true;
        break;
    case 8:
        reverseRows_ = true;
        break;
    default:
        break; // 1 as stored, 5 a plain transpose
    }
    if (transpose_)
        strip_ = QImage(sourceWidth_, kStripRows, QImage::Format_RGB32);
}

bool RowPlacer::ready() const {
    return bits_ != nullptr && (!transpose_ || !strip_.isNull());
}

std::uint8_t* RowPlacer::rowFor(int sourceY, int indexInBatch) {
    if (transpose_)
        return strip_.bits() + indexInBatch * strip_.bytesPerLine();
    return reinterpret_cast<std::uint8_t*>(
        targetRow(flipY_ ? sourceHeight_ - 1 - sourceY : sourceY));
}

void RowPlacer::place(int firstY, int count) {
    if (!transpose_) {
        if (mirrorX_) {
            for (int i = 0; i < count; ++i) {
                QRgb* row = targetRow(flipY_ ? sourceHeight_ - 1 - firstY - i : firstY + i);
                std::reverse(row, row + sourceWidth_);
            }
        }
        return;
    }
    // Source row firstY + i becomes a target column; source column x a target
    // row. The batch's rows land side by side in each target row.
    const int step = reverseColumns_ ? -1 : 1;
    const int firstColumn = reverseColumns_ ? sourceHeight_ - 1 - firstY : firstY;
    const QRgb* strip[kStripRows];
    for (int i = 0; i < count; ++i)
        strip[i] = reinterpret_cast<const QRgb*>(strip_.constScanLine(i));
    for (int x = 0; x < sourceWidth_; ++x) {
        QRgb* out = targetRow(reverseRows_ ? sourceWidth_ - 1 - x : x) + firstColumn;
        for (int i = 0; i < count; ++i)
            out[i * step] = strip[i][x];
    }
}

void RowPlacer::fillFrom(int firstY, QRgb colour) {
    for (int y = firstY; y < sourceHeight_; y += kStripRows) {
        const int count = std::min(kStripRows, sourceHeight_ - y);
        for (int i = 0; i < count; ++i)
            std::fill_n(reinterpret_cast<QRgb*>(rowFor(y + i, i)), sourceWidth_, colour);
        if (transpose_)
            place(y, count);
    }
}

QRgb RowPlacer::firstPixelOf(int sourceY) {
    if (transpose_) {
        const int column = reverseColumns_ ? sourceHeight_ - 1 - sourceY : sourceY;
        return targetRow(reverseRows_ ? sourceWidth_ - 1 : 0)[column];
    }
    const QRgb* row = targetRow(flipY_ ? sourceHeight_ - 1 - sourceY : sourceY);
    return row[mirrorX_ ? sourceWidth_ - 1 : 0];
}

void cmykToRgb32(std::uint8_t* row, int width, bool adobeInverted) {
    // With inks c, m, y, k in 0..255 (255 = full ink), red = (255-c)(255-k)/255
    // and likewise for green and blue: the plain multiplicative model that
    // careful converters use when no colour management is at hand. An inverted
    // file stores 255-c etc., so its samples enter the products directly.
    auto* out = reinterpret_cast<QRgb*>(row);
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row + 4 * x;
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!adobeInverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(mul255(c, k), mul255(m, k), mul255(y, k));
    }
}

void flattenOnWhite(const QRgb* in, QRgb* out, int width) {
    // colour * alpha + white * (1 - alpha); mul255(255, n) is n exactly.
    for (int x = 0; x < width; ++x) {
        const QRgb p = in[x];
        const int a = qAlpha(p);
        out[x] = qRgb(mul255(qRed(p), a) + 255 - a, mul255(qGreen(p), a) + 255 - a,
                      mul255(qBlue(p), a) + 255 - a);
    }
}

bool allGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(row[x]) != qGreen(row[x]) || qGreen(row[x]) != qBlue(row[x]))
                return false;
        }
    }
    return true;
}

} // namespace dovi::imaging::jpeg
