#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

namespace dovi::test {

QString corpusDir() {
    const QDir dir(QStringLiteral(DOVI_CORPUS_DIR));
    return dir.exists() ? dir.absolutePath() : QString();
}

QImage makeTestPattern(int width, int height, bool withAlpha) {
    QImage img(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = (x * 255) / std::max(1, width - 1);
            const int g = (y * 255) / std::max(1, height - 1);
            const int b = ((x / 4 + y / 4) % 2) ? 200 : 30;
            const int a = withAlpha ? (x + 2 * y) % 256 : 255;
            line[x] = qRgba(r, g, b, a);
        }
    }
    return img;
}

::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << "sizes differ: expected " << expected.width() << "x" << expected.height()
               << ", got " << actual.width() << "x" << actual.height();
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < e.height(); ++y) {
        const auto* le = reinterpret_cast<const QRgb*>(e.constScanLine(y));
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = 0; x < e.width(); ++x) {
            if (le[x] != la[x])
                return ::testing::AssertionFailure()
                       << "pixel (" << x << "," << y << ") expected 0x"
                       << QString::number(le[x], 16).toStdString() << " got 0x"
                       << QString::number(la[x], 16).toStdString();
        }
    }
    return ::testing::AssertionSuccess();
}

int maxChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* lx = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* ly = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            worst = std::max({worst, std::abs(qRed(lx[col]) - qRed(ly[col])),
                              std::abs(qGreen(lx[col]) - qGreen(ly[col])),
                              std::abs(qBlue(lx[col]) - qBlue(ly[col])),
                              std::abs(qAlpha(lx[col]) - qAlpha(ly[col]))});
        }
    }
    return worst;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace dovi::test
