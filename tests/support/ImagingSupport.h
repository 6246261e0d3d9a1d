#pragma once
// Shared by the imaging tests: the four codecs as one table, little-endian
// byte building, the files each reader test crafts (to decode or to refuse),
// the rule a cut file must follow, and Pillow (run through Python) as an
// independent reader.
#include "imaging/Codecs.h"
#include "imaging/codecs/bmp/BmpCodec.h"
#include "imaging/codecs/jpeg/JpegCodec.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace dovi::test {

inline imaging::Bytes bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), std::size_t(a.size())};
}

// The engine's codec table rows, and decode and encode over byte arrays.
using imaging::Codec;
inline const Codec& kBmp = *imaging::codecFor(imaging::Bmp);
inline const Codec& kTga = *imaging::codecFor(imaging::Tga);
inline const Codec& kPcx = *imaging::codecFor(imaging::Pcx);
inline const Codec& kJpeg = *imaging::codecFor(imaging::Jpeg);

inline imaging::DecodeResult decode(const Codec& codec, const QByteArray& data, QSize box = {}) {
    return codec.decode(bytesOf(data), {box});
}
inline bool encode(const Codec& codec, const imaging::Image& image, QByteArray& out,
                   QString* error = nullptr) {
    return codec.encode(image, {}, out, error);
}

// Little-endian bytes, as BMP, TGA and PCX headers store them.
class Le {
public:
    Le& u8(int v) {
        b_.append(char(v));
        return *this;
    }
    Le& u16(int v) { return u8(v & 0xff).u8((v >> 8) & 0xff); }
    Le& u32(std::uint32_t v) { return u16(int(v & 0xffff)).u16(int(v >> 16)); }
    Le& bytes(std::initializer_list<int> values) {
        for (const int v : values)
            u8(v);
        return *this;
    }
    Le& zeros(qsizetype n) {
        b_.append(n, '\0');
        return *this;
    }
    qsizetype size() const { return b_.size(); }
    operator QByteArray() const { return b_; }

private:
    QByteArray b_;
};

inline QByteArray bytes(std::initializer_list<int> values) {
    return Le().bytes(values);
}

// A copy of data changed by damage().
inline QByteArray damaged(QByteArray data, const std::function<void(QByteArray&)>& damage) {
    damage(data);
    return data;
}

// A picture painted by colour(x, y): ARGB32 with alpha, opaque RGB32 without.
inline QImage paint(int w, int h, const std::function<QRgb(int, int)>& colour, bool alpha = false) {
    QImage img(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, colour(x, y));
    return img;
}

// A file crafted byte by byte and what its reader must make of it. Cut
// short, a file with wholeRows keeps the rows (stored bottomUp or not) that
// arrived whole; given rowBytes (uncompressed rows from offset head on, each
// but the last followed by rowPadding bytes), exactly as many as arrived.
struct Variant {
    std::string name;
    QByteArray file;
    QImage picture;
    int bitsPerPixel = 0;
    bool paletted = false;
    bool wholeRows = false, bottomUp = false;
    qsizetype head = 0, rowBytes = 0, rowPadding = 0;
};

// A file its reader must refuse.
struct Broken {
    std::string name;
    QByteArray file;
};

// Defined beside each reader's byte builders.
std::vector<Variant> bmpVariants();
std::vector<Variant> tgaVariants();
std::vector<Variant> pcxVariants();
std::vector<Broken> bmpBroken();
std::vector<Broken> tgaBroken();
std::vector<Broken> pcxBroken();

// How many whole rows the decode of a cut file kept, counted in storage
// order: those equal the full decode and every later row is black. -1 when
// the decode breaks that pattern.
inline int keptRows(const QImage& whole, const QImage& cut, bool bottomUp) {
    if (cut.size() != whole.size())
        return -1;
    int kept = 0;
    bool ended = false;
    for (int i = 0; i < whole.height(); ++i) {
        const int y = bottomUp ? whole.height() - 1 - i : i;
        bool same = true, black = true;
        for (int x = 0; x < whole.width(); ++x) {
            same = same && cut.pixel(x, y) == whole.pixel(x, y);
            black = black && (cut.pixel(x, y) & 0xffffffu) == 0;
        }
        if (same && !ended) {
            ++kept;
            continue;
        }
        ended = true;
        if (!black)
            return -1;
    }
    return kept;
}

// Drops the alpha of a picture (as an opaque ARGB32 copy) for comparisons that
// only look at colour.
inline QImage colourOnly(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return out;
}

// Peak signal-to-noise ratio over R, G and B in dB (99 for identical pictures,
// 0 for different sizes).
inline double psnr(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += d * d;
        }
    if (sum == 0)
        return 99;
    return 10 * std::log10(255.0 * 255.0 * 3.0 * a.width() * a.height() / sum);
}

// Every file under corpus/<sub> with the given suffix, sorted.
inline QStringList corpusFiles(const QString& sub, const QString& suffix) {
    QStringList files;
    QDirIterator it(corpusDir() + '/' + sub, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString path = it.next(); path.endsWith(suffix, Qt::CaseInsensitive))
            files << path;
    files.sort();
    return files;
}

inline QString pythonWithPillow() {
    static const QString found = [] {
        for (const QString& py : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            QProcess p;
            p.start(py, {QStringLiteral("-c"), QStringLiteral("import PIL")});
            if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
                p.exitCode() == 0)
                return py;
        }
        return QString();
    }();
    return found;
}

// Pillow's reading of each file, as RGB or RGBA pictures (null where Pillow
// refused the file). One Python run for the whole list.
inline QList<QImage> pillowDecode(const QStringList& files, const QString& scratchDir) {
    static const QString script = QStringLiteral(R"(
import sys
from PIL import Image
for i, src in enumerate(sys.argv[1:]):
    try:
        im = Image.open(src)
        im.load()
        im = im.convert('RGBA' if 'A' in im.mode else 'RGB')
        im.save('pil_%d.png' % i)
    except Exception as e:
        print(src, e, file=sys.stderr)
)");
    QList<QImage> out;
    QProcess p;
    p.setWorkingDirectory(scratchDir);
    p.start(pythonWithPillow(), QStringList{QStringLiteral("-c"), script} + files);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode()) {
        ADD_FAILURE() << "python failed: " << p.readAllStandardError().toStdString();
        return out;
    }
    for (int i = 0; i < files.size(); ++i)
        out << QImage(scratchDir + QStringLiteral("/pil_%1.png").arg(i));
    return out;
}

} // namespace dovi::test
