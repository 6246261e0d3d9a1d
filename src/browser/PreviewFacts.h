#pragma once
#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>

namespace dovi::browser {

// What measuring a file tells the preview: the whole file's facts (never
// those of a reduced decode) and a copy of the picture scaled to the preview.
struct ImageFacts {
    int fileType = 0; // the engine's format code; 0 when nothing could be loaded
    int width = 0;
    int height = 0;
    qint64 fileSize = 0;
    qint64 uniqueColours = 0;
    int bitsPerPixel = 0;
    QImage picture;

    bool loaded() const { return fileType != 0; }
};

// Loads and measures one file. measure() runs on a worker thread, so an
// implementation keeps no state shared between calls.
class ImageMeasurer {
public:
    virtual ~ImageMeasurer() = default;
    // box: the preview's area in device pixels; the picture fits inside it.
    virtual ImageFacts measure(const QString& path, const QSize& box) = 0;
};

// The number with the locale's thousands separator between groups of three
// digits; 0 gives an empty string.
QString groupThousands(qint64 value, const QLocale& locale = QLocale());

// The five information lines under the preview; all empty when nothing is
// previewed.
struct PreviewLabels {
    QString x, y, size, colours, bpp;

    static PreviewLabels describe(const ImageFacts& facts, const QLocale& locale = QLocale());
    bool isEmpty() const {
        return x.isEmpty() && y.isEmpty() && size.isEmpty() && colours.isEmpty() && bpp.isEmpty();
    }
};

// A picture scaled down (never up) to fit box, keeping its proportions.
QImage fitInto(const QImage& picture, const QSize& box);

} // namespace dovi::browser
