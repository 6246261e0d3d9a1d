// Files other programs wrote: the public suites against their published
// reference pictures (or Pillow's reading where none is published), files
// Pillow and the Magicks wrote, and the JPEG suite's known facts.
#include "support/ImagingSupport.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <map>
#include <optional>

using namespace dovi::imaging;

namespace dovi::test {

namespace {

// A reference picture for a BMP suite file: its own when published,
// otherwise one of a sibling showing the same picture. The tolerance covers
// siblings stored at a different precision.
struct Reference {
    QString path;
    int tolerance = 0;
};

const std::map<QString, Reference>& bmpSiblings() {
    static const std::map<QString, Reference> table = [] {
        std::map<QString, Reference> t;
        const auto add = [&](std::initializer_list<const char*> names, Reference ref) {
            for (const char* f : names)
                t[QString(f) + ".bmp"] = ref;
        };
        add({"pal1wb", "badbitssize", "baddens1", "baddens2", "badfilesize"}, {"good/pal1.bmp"});
        add({"pal4rle"}, {"good/pal4.bmp"});
        add({"pal8-0", "pal8os2", "pal8rle", "pal8topdown", "pal8v4", "pal8v5", "pal8offs",
             "pal8os2-hs", "pal8os2-sz", "pal8os2sp", "pal8os2v2", "pal8os2v2-16", "pal8os2v2-40sz",
             "pal8os2v2-sz", "pal8oversizepal", "rgb24rle24", "rletopdown"},
            {"good/pal8.bmp"});
        add({"rgb16-565pal"}, {"good/rgb16-565.bmp"});
        add({"rgb16bfdef"}, {"good/rgb16.bmp"});
        add({"rgb24pal", "rgb32", "rgb32bf", "rgb32bfdef", "rgb24largepal", "rgb24lprof",
             "rgb24prof", "rgb32-xbgr", "rgb32fakealpha", "rgb32h52"},
            {"good/rgb24.bmp"});
        // Exact rounding of the stored 11-bit values differs by one from the
        // 8-bit picture they were made from (357 * 255 / 2047 = 44.47, not 45).
        add({"rgb32-111110"}, {"good/rgb24.bmp", 1});
        // 8-bit alpha; the nearest reference stores 4-bit alpha.
        add({"rgba32-1", "rgba32-2", "rgba32abf", "rgba32h56"},
            {"questionable/rgba32-81284.bmp", 8});
        return t;
    }();
    return table;
}

// Damaged files are compared with a sibling only.
std::optional<Reference> bmpReference(const QString& folder, const QString& name) {
    const QString own = folder + "/" + name;
    if (folder != "bad" && QFileInfo::exists(corpusDir() + "/upstream_ref/bmp/" + own + ".png"))
        return Reference{own, 0};
    if (const auto it = bmpSiblings().find(name); it != bmpSiblings().end())
        return it->second;
    return std::nullopt;
}

// Compares a decode with its reference. Pixels transparent in both are equal
// whatever colour they carry. Where an opaque decode meets a transparent
// reference pixel, the reference marks pixels an RLE stream skipped (we leave
// them black), except in rgb16faketrns, whose reference turns a bit that plain
// 16-bit pixels do not use into transparency (we ignore that bit).
::testing::AssertionResult matchesBmpReference(const QImage& decoded, const QString& name,
                                               const Reference& ref) {
    const QImage expected = QImage(corpusDir() + "/upstream_ref/bmp/" + ref.path + ".png")
                                .convertToFormat(QImage::Format_ARGB32);
    if (expected.size() != decoded.size())
        return ::testing::AssertionFailure() << "missing or other size: " << ref.path.toStdString();
    const bool opaque = !decoded.hasAlphaChannel();
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb e = expected.pixel(x, y), o = decoded.pixel(x, y);
            if (qAlpha(e) == 0 && qAlpha(o) == 0)
                continue;
            if (opaque && qAlpha(e) == 0) {
                if (name == "rgb16faketrns.bmp" || o == 0xff000000u)
                    continue;
                return ::testing::AssertionFailure()
                       << "(" << x << "," << y << ") should be black, skipped by the RLE stream";
            }
            const QRgb want = opaque ? (e | 0xff000000u) : e;
            const int diff =
                std::max({std::abs(qRed(want) - qRed(o)), std::abs(qGreen(want) - qGreen(o)),
                          std::abs(qBlue(want) - qBlue(o)), std::abs(qAlpha(want) - qAlpha(o))});
            if (diff > ref.tolerance)
                return ::testing::AssertionFailure()
                       << "(" << x << "," << y << ") expected 0x" << std::hex << want << " got 0x"
                       << o << " against " << ref.path.toStdString();
        }
    }
    return ::testing::AssertionSuccess();
}

bool allAlphaZero(const QImage& image) {
    const QImage a = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (qAlpha(a.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

// Good files match their references; questionable files decode sensibly or
// are refused; bad files are refused or, when the damage is only in fields
// the reader ignores, show the intact picture.
TEST(BmpCorpus, SuiteFilesMatchTheirReferencesOrAreRefused) {
    DOVI_REQUIRE_CORPUS();
    const std::map<QString, QSet<QString>> refused = {
        {"good", {}},
        // Embedded JPEG/PNG, OS/2 Huffman coding and 64-bit linear light.
        // (rgb24prof2 carries a profile that changes its colours; profiles
        // are not applied.)
        {"questionable", {"pal1huffmsb.bmp", "rgb24jpeg.bmp", "rgb24png.bmp", "rgba64.bmp"}},
        {"bad",
         {"badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp", "badplanes.bmp",
          "badwidth.bmp", "reallybig.bmp"}},
    };
    for (const auto& [folder, refusedHere] : refused) {
        const QStringList files =
            QDir(corpusDir() + "/bmp/" + folder).entryList({"*.bmp"}, QDir::Files, QDir::Name);
        ASSERT_FALSE(files.isEmpty());
        int compared = 0;
        for (const QString& name : files) {
            SCOPED_TRACE((folder + "/" + name).toStdString());
            const DecodeResult r =
                decode(kBmp, readFile(corpusDir() + "/bmp/" + folder + "/" + name));
            EXPECT_EQ(r.ok(), !refusedHere.contains(name)) << r.error.toStdString();
            EXPECT_EQ(r.ok(), r.error.isEmpty());
            if (!r.ok())
                continue;
            if (folder == "good") {
                EXPECT_EQ(r.image.format, Bmp);
                // The names start with the depth: pal1, pal8, rgb16, rgb24...
                const int depth = name.mid(3, 2).remove(QRegularExpression("[^0-9]")).toInt();
                EXPECT_EQ(r.image.bitsPerPixel, depth);
                EXPECT_EQ(r.image.sourceHadPalette, name.startsWith("pal"));
            } else if (folder == "questionable") {
                EXPECT_EQ(r.image.pixels.hasAlphaChannel(), name.startsWith("rgba"));
            }
            const auto ref = bmpReference(folder, name);
            if (ref) {
                EXPECT_TRUE(matchesBmpReference(r.image.pixels, name, *ref));
                ++compared;
            }
        }
        if (folder == "good") {
            EXPECT_GE(compared, files.size() - 1); // all but pal8nonsquare have a reference
        }
    }
    // A file cut short keeps the rows that arrived: 273 bytes, 62 before the
    // pixels, 16 bytes a row: the bottom 13.
    const DecodeResult r = decode(kBmp, readFile(corpusDir() + "/bmp/bad/shortfile.bmp"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_FALSE(r.image.pixels.hasAlphaChannel());
    EXPECT_EQ(keptRows(QImage(corpusDir() + "/upstream_ref/bmp/good/pal1.bmp.png")
                           .convertToFormat(QImage::Format_RGB32),
                       r.image.pixels, true),
              (273 - 62) / 16);
}

// Files Pillow, GraphicsMagick and ImageMagick wrote (kept small in
// tests/imaging/data/bmp) read as their source pictures.
TEST(BmpCorpus, ReadsFilesOtherProgramsWrote) {
    const QString data = QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/bmp/");
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
        const DecodeResult r = decode(kBmp, readFile(data + c.file));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.pixels.hasAlphaChannel(), c.alpha);
        const QImage expected(data + c.expected);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(samePixels(
            expected.convertToFormat(c.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32),
            r.image.pixels));
    }
}

// The TGA and PCX suites against their published references, or Pillow's
// reading where none is published. Known differences from Pillow: it widens
// 5-bit channels by truncating where we round (as the published references
// do), so those files may differ by one; and it shows every 32-bit alpha
// channel, while we show the picture opaque when the file says its alpha is
// not meaningful.
TEST(TgaPcxCorpus, SuiteFilesMatchReferencesOrPillow) {
    DOVI_REQUIRE_CORPUS();
    const bool pillow = !pythonWithPillow().isEmpty();
    const struct {
        const Codec& codec;
        int minReferences, minPillow, minTotal;
    } suites[] = {{kTga, 38, 13, 0}, {kPcx, 0, 0, 5}};
    for (const auto& suite : suites) {
        const QString suffix = QStringLiteral(".") + suite.codec.name;
        QStringList files;
        for (const QString& file : corpusFiles(suite.codec.name, suffix))
            if (!file.contains(QStringLiteral("/regression/")))
                files << file;
        QTemporaryDir scratch;
        const QList<QImage> pillowImages =
            pillow ? pillowDecode(files, scratch.path()) : QList<QImage>();
        ASSERT_EQ(pillowImages.size(), pillow ? files.size() : 0);
        int byReference = 0, byPillow = 0;
        for (int i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(files[i].toStdString());
            const QByteArray data = readFile(files[i]);
            const DecodeResult r = decode(suite.codec, data);
            const QImage reference(corpusDir() + "/upstream_ref/" +
                                   QDir(corpusDir()).relativeFilePath(files[i]) + ".png");
            if (!reference.isNull()) {
                ASSERT_TRUE(r.ok()) << r.error.toStdString();
                EXPECT_EQ(r.image.format, suite.codec.format);
                EXPECT_EQ(r.fullWidth, reference.width());
                // A TGA reference whose alpha is zero everywhere kept a channel
                // the writer never filled; we show such a picture opaque.
                if (&suite.codec == &kTga && allAlphaZero(reference)) {
                    EXPECT_FALSE(r.image.pixels.hasAlphaChannel());
                    EXPECT_TRUE(samePixels(colourOnly(reference), r.image.pixels));
                } else {
                    EXPECT_TRUE(samePixels(reference, r.image.pixels));
                }
                ++byReference;
                continue;
            }
            if (!pillow)
                continue;
            if (pillowImages[i].isNull()) {
                // Pillow refuses these. Of the TGA files we decode the rows
                // that are there; both PCX files are damaged: a scan line
                // shorter than the width, and an unknown encoding.
                if (&suite.codec == &kPcx) {
                    EXPECT_FALSE(r.ok());
                } else {
                    EXPECT_TRUE(r.ok() || files[i].contains(QStringLiteral("p_8.tga")))
                        << r.error.toStdString();
                }
                continue;
            }
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            EXPECT_EQ(r.image.format, suite.codec.format);
            ++byPillow;
            if (files[i].endsWith(QStringLiteral("p_4_planes.pcx"))) {
                // Planes 0 and 1 set: index 3, red in this file's header
                // palette. Pillow as packaged here steps between planes by the
                // width, not the bytes per line, and reads black.
                EXPECT_EQ(r.image.pixels.pixel(0, 0), qRgb(255, 0, 0));
                continue;
            }
            const bool tga = &suite.codec == &kTga;
            const bool fiveBit =
                tga && (data[16] == 16 || data[16] == 15 || data[7] == 16 || data[7] == 15);
            const QImage expected = tga && !r.image.pixels.hasAlphaChannel()
                                        ? colourOnly(pillowImages[i])
                                        : pillowImages[i];
            EXPECT_LE(maxChannelDifference(expected, r.image.pixels), fiveBit ? 1 : 0);
        }
        EXPECT_GE(byReference, suite.minReferences) << suite.codec.name;
        if (pillow) {
            EXPECT_GE(byPillow, suite.minPillow) << suite.codec.name;
            EXPECT_GE(byReference + byPillow, suite.minTotal) << suite.codec.name;
        }
    }
    if (!pillow)
        GTEST_SKIP() << "Pillow is not installed: only the files with published references "
                        "were compared";
}

// Pictures as Pillow writes them must read as the picture Pillow was given,
// kept as PNG beside each file: TGA raw and RLE, both origins, thin strips,
// grey, grey + alpha, palette, RGBA; PCX 1-bit, grey, 256 colours at odd
// widths, 24-bit at odd and tiny sizes (Pillow's own reader gets odd-width
// 24-bit PCX files wrong, so it is no reference here).
TEST(TgaPcxCorpus, PillowWrittenFilesReadAsTheirSource) {
    if (pythonWithPillow().isEmpty())
        GTEST_SKIP() << "Pillow not available";
    QTemporaryDir dir;
    const QString script = QStringLiteral(R"(
from PIL import Image
def pattern(w, h, mode):
    im = Image.new('RGBA', (w, h))
    im.putdata([((x * 37 + y * 11) % 256, (x * 5 + y * 41) % 256, (x * y) % 256,
                 (x * 9 + y * 3) % 256) for y in range(h) for x in range(w)])
    return im.convert('RGB').quantize(200) if mode == 'P' else im.convert(mode)
def flat(w, h, colour, band, box):
    im = Image.new('RGB', (w, h), colour)
    im.paste(band, box)
    return im
tga = [('rgb_50x1_rle', 50, 1, 'RGB', True, -1), ('rgb_1x50', 1, 50, 'RGB', False, -1),
       ('grey_rle_tl', 128, 128, 'L', True, 1), ('grey_raw_bl', 33, 17, 'L', False, -1),
       ('la_rle_tl', 31, 7, 'LA', True, 1), ('p_rle_bl', 45, 13, 'P', True, -1),
       ('p_raw_tl', 45, 13, 'P', False, 1), ('rgba_rle_bl', 29, 23, 'RGBA', True, -1),
       ('rgb_raw_tl', 64, 3, 'RGB', False, 1)]
for name, w, h, mode, rle, orientation in tga:
    im = pattern(w, h, mode)
    im.save(name + '.tga', rle=rle, orientation=orientation)
    im.convert('RGBA' if 'A' in mode else 'RGB').save(name + '.png')
rgb = lambda w, h: pattern(w, h, 'RGB')
more = {'flat_rle.tga': flat(97, 61, (40, 90, 200), (250, 250, 10), (30, 10, 80, 40)),
        'bits_37x41.pcx': rgb(37, 41).convert('1'), 'grey_101x33.pcx': rgb(101, 33).convert('L'),
        'pal256_123x67.pcx': rgb(123, 67).quantize(256), 'pal5_7x3.pcx': rgb(7, 3).quantize(5),
        'rgb24_131x67.pcx': rgb(131, 67), 'rgb24_3x2.pcx': rgb(3, 2),
        'rgb24_flat.pcx': flat(45, 17, (200, 240, 25), (255, 50, 255), (0, 5, 45, 9))}
for name, im in more.items():
    im.save(name, rle=True) if name.endswith('.tga') else im.save(name)
    im.convert('RGB').save(name[:-4] + '.png')
)");
    ASSERT_TRUE(runPython(script, dir.path()));
    const QStringList files = QDir(dir.path()).entryList({"*.tga", "*.pcx"}, QDir::Files);
    ASSERT_EQ(files.size(), 17);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r =
            decode(file.endsWith(".tga") ? kTga : kPcx, readFile(dir.filePath(file)));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_TRUE(samePixels(QImage(dir.filePath(file.chopped(4) + ".png")), r.image.pixels));
    }
}

// Every JPEG file decodes except ultrahdr.jpg, which ends right after its
// scan header: nothing of the picture arrived. truncated_jpeg.jpg lost only
// its tail and decodes; truncated_exif_dpi.jpg has a cut-short EXIF block,
// which is ignored. Sizes, depth and profile lengths are as another JPEG
// reader reports them.
TEST(JpegCorpus, EveryUsableFileDecodesWithItsKnownFacts) {
    DOVI_REQUIRE_CORPUS();
    const QDir dir(corpusDir() + QStringLiteral("/jpeg/pillow"));
    const auto decode = [&](const QString& name, QSize box = {}) {
        return dovi::test::decode(kJpeg, readFile(dir.filePath(name)), box);
    };
    const QStringList names = dir.entryList({QStringLiteral("*.jpg")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const auto full = decode(name);
        const auto small = decode(name, QSize(32, 32));
        if (name == QStringLiteral("ultrahdr.jpg")) {
            EXPECT_FALSE(full.ok());
            EXPECT_FALSE(full.error.isEmpty());
            continue;
        }
        ASSERT_TRUE(full.ok()) << full.error.toStdString();
        ASSERT_TRUE(small.ok()) << small.error.toStdString();
        EXPECT_EQ(full.image.format, Jpeg);
        EXPECT_EQ(full.image.pixels.size(), QSize(full.fullWidth, full.fullHeight));
        EXPECT_EQ(small.fullWidth, full.fullWidth);
        EXPECT_EQ(small.fullHeight, full.fullHeight);
        EXPECT_LE(small.image.pixels.width(), full.image.pixels.width());
        EXPECT_GE(small.image.pixels.width(), std::min(32, full.fullWidth));
        EXPECT_GE(small.image.pixels.height(), std::min(32, full.fullHeight));
    }
    const struct {
        const char* name;
        int width, height; // upright
        int bitsPerPixel;
        qsizetype iccBytes;
    } facts[] = {
        {"hopper_gray.jpg", 128, 128, 8, 0},
        {"app13-multiple.jpg", 256, 160, 24, 0}, // progressive
        {"icc_profile_big.jpg", 425, 250, 24, 399788},
        {"flower2.jpg", 300, 225, 24, 3144},
        {"pil_sample_cmyk.jpg", 100, 100, 24, 0},
        {"orientation_rectangle.jpg", 1, 2, 24, 0}, // stored 2 x 1
        {"hopper_bad_exif.jpg", 500, 500, 8, 0},
        {"truncated_jpeg.jpg", 100, 100, 24, 0},
        {"junk_jpeg_header.jpg", 1024, 768, 24, 0},
    };
    for (const auto& f : facts) {
        SCOPED_TRACE(f.name);
        const auto r = decode(f.name);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(QSize(r.fullWidth, r.fullHeight), QSize(f.width, f.height));
        EXPECT_EQ(r.image.bitsPerPixel, f.bitsPerPixel);
        EXPECT_EQ(r.image.iccProfile.size(), f.iccBytes);
    }
    // Re-encoded copies of the upright hopper differ a little; a wrong turn
    // scores about 9 dB. The Adobe CMYK sample looks like its RGB twin.
    const auto upright = decode(QStringLiteral("hopper.jpg"));
    ASSERT_TRUE(upright.ok());
    for (int orientation = 2; orientation <= 8; ++orientation) {
        const auto turned = decode(QStringLiteral("hopper_orientation_%1.jpg").arg(orientation));
        ASSERT_TRUE(turned.ok()) << orientation;
        EXPECT_GE(psnr(upright.image.pixels, turned.image.pixels), 28.0) << orientation;
    }
    const auto cmyk = decode(QStringLiteral("pil_sample_cmyk.jpg"));
    const auto rgb = decode(QStringLiteral("pil_sample_rgb.jpg"));
    ASSERT_TRUE(cmyk.ok() && rgb.ok());
    EXPECT_GE(psnr(rgb.image.pixels, cmyk.image.pixels), 28.0);
}

} // namespace dovi::test
