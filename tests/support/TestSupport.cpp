#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
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

QByteArray sixteenColourBmp() {
    QByteArray b(246, '\0');
    const auto put16 = [&b](int at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    const auto put32 = [&b](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 246);
    put32(10, 118); // 14 + 40 header bytes and a 16-entry palette
    put32(14, 40);
    put32(18, 16);
    put32(22, 16);
    put16(26, 1);
    put16(28, 4);
    put32(34, 128);
    put32(38, 2835);
    put32(42, 2835);
    put32(46, 16);
    for (int i = 0; i < 16; ++i) {
        b[54 + i * 4] = char(i * 16);
        b[54 + i * 4 + 1] = char(255 - i * 16);
        b[54 + i * 4 + 2] = char(i * 8);
    }
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 8; ++x)
            b[118 + row * 8 + x] = char(((2 * x) << 4) | (2 * x + 1));
    return b;
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
