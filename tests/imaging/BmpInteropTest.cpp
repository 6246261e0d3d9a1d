#include "imaging/codecs/BmpCodec.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// Agreement with other programs: files they wrote (kept small in
// tests/imaging/data/bmp) read as their source pictures, and the files we
// write read in them as the pictures we wrote.
using namespace dovi::imaging;

namespace {

const QString kDataDir = QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/bmp/");

DecodeResult decodeBytes(const QByteArray& bytes) {
    return bmp::decode(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())));
}

// A converter from BMP to PNG: a program and its arguments, %1 the input and
// %2 the output. The Magicks pick RGB or RGBA PNG themselves: GraphicsMagick
// 1.3's forced RGBA output gives opaque input a random alpha channel.
struct Converter {
    QString name;
    QString program;
    QStringList arguments;
};

std::vector<Converter> availableConverters() {
    std::vector<Converter> found;
    const QString python = QStandardPaths::findExecutable("python3", {"/usr/bin"});
    if (!python.isEmpty() && QProcess::execute(python, {"-c", "import PIL"}) == 0)
        found.push_back({"Pillow",
                         python,
                         {"-c",
                          "import sys; from PIL import Image; "
                          "Image.open(sys.argv[1]).convert('RGBA').save(sys.argv[2])",
                          "%1", "%2"}});
    const QString gm = QStandardPaths::findExecutable("gm");
    if (!gm.isEmpty())
        found.push_back({"GraphicsMagick", gm, {"convert", "%1", "%2"}});
    const QString convert = QStandardPaths::findExecutable("convert");
    if (!convert.isEmpty())
        found.push_back({"ImageMagick", convert, {"%1", "%2"}});
    return found;
}

QImage convertWith(const Converter& c, const QString& in, const QString& out) {
    QStringList args;
    for (const QString& a : c.arguments)
        args << QString(a).replace("%1", in).replace("%2", out);
    QProcess p;
    p.start(c.program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QImage(out);
}

} // namespace

TEST(BmpInterop, ReadsFilesOtherProgramsWrote) {
    const struct {
        const char* file;
        const char* expected;
        bool alpha;
    } cases[] = {
        {"pillow-1bit.bmp", "expected-1bit.png", false},
        {"pillow-pal8.bmp", "expected-p200.png", false},
        {"pillow-bgrx32.bmp", "expected-rgb.png", false},
        {"gm-rgb24.bmp", "expected-rgb.png", false},
        {"gm-pal4.bmp", "expected-p16.png", false},
        {"gm-v4-rgba.bmp", "expected-rgba.png", true},
        {"im-v5-rgba.bmp", "expected-rgba.png", true},
        {"im-rle8.bmp", "expected-p200.png", false},
        {"im-rle8-16colours.bmp", "expected-p16.png", false},
        {"im-os2v1-rgb24.bmp", "expected-rgb.png", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const DecodeResult r = decodeBytes(dovi::test::readFile(kDataDir + c.file));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.pixels.hasAlphaChannel(), c.alpha);
        const QImage expected(kDataDir + c.expected);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(dovi::test::samePixels(
            expected.convertToFormat(c.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32),
            r.image.pixels));
    }
}

TEST(BmpInterop, OtherProgramsReadOurFiles) {
    const std::vector<Converter> converters = availableConverters();
    if (converters.empty())
        GTEST_SKIP() << "none of Pillow, GraphicsMagick or ImageMagick is installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    auto paletted = [](int colours) {
        QImage img(19, 7, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb(((x + y) % colours) * 255 / colours, 40 * (y % 3), 90));
        Image out;
        out.pixels = img;
        out.sourceHadPalette = true;
        return out;
    };
    Image rgb;
    rgb.pixels = dovi::test::makeTestPattern(23, 9);
    Image rgba;
    rgba.pixels = dovi::test::makeTestPattern(23, 9, true);
    const std::pair<const char*, Image> pictures[] = {
        {"1bit", paletted(2)}, {"4bit", paletted(13)}, {"8bit", paletted(100)},
        {"24bit", rgb},        {"32bit", rgba},
    };
    for (const auto& [name, picture] : pictures) {
        QByteArray file;
        ASSERT_TRUE(bmp::encode(picture, file));
        const QString path = dir.filePath(QString(name) + ".bmp");
        ASSERT_TRUE(dovi::test::writeFile(path, file));
        for (const Converter& c : converters) {
            SCOPED_TRACE(c.name.toStdString() + " reading " + name);
            const QImage seen = convertWith(c, path, dir.filePath(QString(name) + c.name + ".png"));
            ASSERT_FALSE(seen.isNull()) << "conversion failed";
            EXPECT_TRUE(dovi::test::samePixels(picture.pixels, seen));
        }
    }
}
