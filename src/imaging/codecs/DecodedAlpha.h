#pragma once
#include <QImage>
#include <cstdint>

// What a decoded alpha channel means. Many writers store a channel they
// never fill in (all 0) or one that says nothing (all 255); either way the
// picture is opaque, and it becomes RGB32 so nothing downstream carries a
// useless channel along.
namespace dovi::imaging {

// Watches the alpha of decoded rows.
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

// Makes an ARGB32 picture opaque when its alpha says nothing (see above),
// looking at every row.
void settleAlpha(QImage& image);

// Straight alpha from premultiplied ARGB32 pixels, in place. Colour values
// above their alpha (invalid when premultiplied) are clamped first.
void unpremultiply(QImage& image);

} // namespace dovi::imaging
