#pragma once
#include <QSize>
#include <QString>

// The thumbnail grid's shape: six columns, a row count from the number of
// files, cells sized from the grid's design size in twips (1/1440 inch), and
// thumbnails that fill a cell less a 10-pixel margin each way.
namespace dovi::thumbs {

inline constexpr int kColumns = 6;
// The grid's design size in twips: 8532 x 5172, which at 15 twips a pixel
// (96 dots per inch) gives 81 x 76 pixel thumbnails.
inline constexpr int kGridWidthTwips = 8532;
inline constexpr int kGridHeightTwips = 5172;

// n / 6 to the nearest whole number, halves to the even one, plus one:
// 6 -> 2, 7 -> 2, 9 -> 3, 15 -> 3.
int gridRows(int fileCount);

struct GridGeometry {
    int columnWidthTwips = 0; // (grid width - 300) / 6, rounded
    int rowHeightTwips = 0;   // grid height / 4, rounded: four rows show
    QSize cellPixels;         // a cell in whole pixels
    QSize thumbnail;          // every thumbnail is resampled to exactly this
};

// The geometry at the given twips per pixel (1440 / dots per inch).
GridGeometry gridGeometry(double twipsPerPixelX = 15.0, double twipsPerPixelY = 15.0,
                          int gridWidthTwips = kGridWidthTwips,
                          int gridHeightTwips = kGridHeightTwips);

// The grid's own size in pixels.
QSize gridPixels(double twipsPerPixelX = 15.0, double twipsPerPixelY = 15.0);

// The cell of an index and back: row * 6 + column is the file's place in the
// action list.
inline int cellIndex(int row, int column) {
    return row * kColumns + column;
}

// The thumbnail file of the index-th file: tempFolder + "/" + index + ".bmp".
QString thumbnailPath(const QString& tempFolder, int index);

} // namespace dovi::thumbs
