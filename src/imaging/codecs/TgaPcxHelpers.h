#pragma once
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

// Small pieces the TGA and PCX codecs share: deciding what a decoded alpha
// channel means, and mapping a picture to a palette for the writers.
namespace dovi::imaging::tgapcx {

// Watches the alpha of decoded rows. A channel that is everywhere 0 is a
// writer that never filled it in, and one that is everywhere 255 says nothing:
// both give an opaque picture.
class AlphaSeen {
public:
    void addRow(const QRgb* row, int count) {
        std::uint32_t any = 0;
        std::uint32_t all = 0xffu;
        for (int i = 0; i < count; ++i) {
            const std::uint32_t a = row[i] >> 24;
            any |= a;
            all &= a;
        }
        any_ |= any;
        all_ &= all;
    }
    bool meaningful() const { return any_ != 0 && all_ != 0xffu; }

private:
    std::uint32_t any_ = 0;
    std::uint32_t all_ = 0xffu;
};

// Turns an ARGB32 picture into an opaque RGB32 one in place (alpha forced to
// 255, colours kept), rows never decoded included.
void makeOpaque(QImage& image);

// Straight alpha from premultiplied ARGB32 pixels, in place. Colour values
// above their alpha (invalid when premultiplied) are clamped first.
void unpremultiply(QImage& image);

// The picture in one of the two layouts the writers handle: RGB32, or ARGB32
// when it has an alpha channel. Null when there is nothing to write.
QImage writableCopy(const QImage& pixels);

// True when some pixel of an ARGB32 picture is not fully opaque.
bool hasTranslucentPixel(const QImage& image);

// Maps an opaque picture to at most 256 colours: palette holds the colours
// (alpha 255) in order of first appearance, indices one byte per pixel, row
// after row. False, with both left empty, when the picture has more colours.
bool indexColours(const QImage& image, std::vector<QRgb>& palette,
                  std::vector<std::uint8_t>& indices);

// Sets *error when the caller wants a reason; returns false for a tail call.
inline bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace dovi::imaging::tgapcx
