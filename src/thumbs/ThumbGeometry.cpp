#include "thumbs/ThumbGeometry.h"

#include <algorithm>
#include <cmath>

namespace dovi::thumbs {

namespace {
int nearestEven(double value) {
    return int(std::nearbyint(value));
}
} // namespace

int gridRows(int fileCount) {
    return nearestEven(std::max(0, fileCount) / double(kColumns)) + 1;
}

GridGeometry gridGeometry(double tppX, double tppY, int gridWidthTwips, int gridHeightTwips) {
    GridGeometry g;
    g.columnWidthTwips = nearestEven((gridWidthTwips - 300) / double(kColumns));
    g.rowHeightTwips = nearestEven(gridHeightTwips / 4.0);
    g.cellPixels = {std::max(1, nearestEven(g.columnWidthTwips / tppX)),
                    std::max(1, nearestEven(g.rowHeightTwips / tppY))};
    // A grid too small for the margin still gets one-pixel thumbnails.
    g.thumbnail = {std::max(1, g.cellPixels.width() - 10), std::max(1, g.cellPixels.height() - 10)};
    return g;
}

QSize gridPixels(double tppX, double tppY) {
    return {nearestEven(kGridWidthTwips / tppX), nearestEven(kGridHeightTwips / tppY)};
}

QString thumbnailPath(const QString& tempFolder, int index) {
    return tempFolder + QLatin1Char('/') + QString::number(index) + QStringLiteral(".bmp");
}

} // namespace dovi::thumbs
