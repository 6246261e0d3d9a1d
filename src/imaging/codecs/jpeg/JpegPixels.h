#pragma once
#include <QImage>
#include <cstdint>

// Pixel work around libjpeg: putting decoded rows where the EXIF orientation
// says they belong, CMYK to RGB, and flattening alpha before a save.
namespace dovi::imaging::jpeg {

// Places the rows of a decoded (stored-orientation) picture into an upright
// RGB32 picture. For orientations 1 to 4 the decoder writes straight into the
// target's scanlines (bottom-up for a vertical flip, mirrored in place
// afterwards); for 5 to 8, which swap width and height, rows are decoded into a
// small strip and scattered into columns.
class RowPlacer {
public:
    static constexpr int kStripRows = 16;

    // target must be sized upright: width and height swapped for 5..8.
    RowPlacer(QImage& target, int orientation);

    // False when memory for the strip ran short.
    bool ready() const;
    bool transposes() const { return transpose_; }
    int sourceWidth() const { return sourceWidth_; }
    int sourceHeight() const { return sourceHeight_; }

    // Where the decoder should write source row y (4 bytes a pixel); strip
    // rows come from the strip buffer, index i of the current batch.
    std::uint8_t* rowFor(int sourceY, int indexInBatch);
    // Finishes source rows [firstY, firstY + count) that were written to rowFor().
    void place(int firstY, int count);
    // Sets source rows [firstY, sourceHeight) to one colour.
    void fillFrom(int firstY, QRgb colour);
    // The pixel placed for source column 0 of source row y.
    QRgb firstPixelOf(int sourceY);

private:
    QImage& target_;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    bool transpose_ = false;
    bool mirrorX_ = false;        // orientations 1..4: reverse each row
    bool flipY_ = false;          // orientations 1..4: bottom row first
    bool reverseColumns_ = false; // 5..8: source row y lands in column width-1-y
    bool reverseRows_ = false;    // 5..8: source column x lands in row height-1-x
    std::uint8_t* bits_ = nullptr;
    qsizetype stride_ = 0;
    QImage strip_;

    QRgb* targetRow(int y) { return reinterpret_cast<QRgb*>(bits_ + y * stride_); }
};

// Converts CMYK samples as libjpeg delivers them to opaque RGB32 pixels in place.
// Adobe-marked files (as Photoshop writes them) store inverted inks.
void cmykToRgb32(std::uint8_t* row, int width, bool adobeInverted);

// Composites ARGB32 pixels onto white into out (RGB32), since JPEG has no alpha.
void flattenOnWhite(const QRgb* in, QRgb* out, int width);

// True when every pixel has equal red, green and blue.
bool allGrey(const QImage& image);

} // namespace dovi::imaging::jpeg
