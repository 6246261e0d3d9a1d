// Files other programs wrote: the public suites against their published
// reference pictures (or Pillow's reading where none is published), the small
// files in data/other-writers, and the JPEG suite's known facts.
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

std::optional<Reference> bmpReference(const QString& folder, const QString& name) {
    static const std::map<QString, Reference> siblings = [] {
        std::map<QString, Reference> t;
        const QString table = QString::fromUtf8(
            readFile(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/bmp-suite-siblings.txt")));
        for (const QString& line : table.split('\n')) {
            const QStringList f = line.split(' ', Qt::SkipEmptyParts);
            for (qsizetype i = 2; !line.startsWith('#') && i < f.size(); ++i)
                t[f[i] + ".bmp"] = Reference{f[0], f[1].toInt()};
        }
        return t;
    }();
    // Damaged files are compared with a sibling only.
    const QString own = folder + "/" + name;
    if (folder != "bad" && QFileInfo::exists(corpusDir() + "/upstream_ref/bmp/" + own + ".png"))
        return Reference{own, 0};
    if (const auto it = siblings.find(name); it != siblings.end())
        return it->second;
    return std::nullopt;
}

// Pixels transparent in both are equal whatever colour they carry. Where an
// opaque decode meets a transparent reference pixel, the reference marks
// pixels an RLE stream skipped (we leave them black), except in
// rgb16faketrns, whose reference turns a bit that plain 16-bit pixels do not
// use into transparency (we ignore that bit).
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
                // The names start with the depth: pal1, pal8, rgb16, rgb24...
                const int depth = name.mid(3, 2).remove(QRegularExpression("[^0-9]")).toInt();
                EXPECT_EQ(r.image.bitsPerPixel, depth);
                EXPECT_EQ(r.image.sourceHadPalette, name.startsWith("pal"));
            } else if (folder == "questionable") {
                EXPECT_EQ(r.image.pixels.hasAlphaChannel(), name.startsWith("rgba"));
            }
            if (const auto ref = bmpReference(folder, name)) {
                EXPECT_TRUE(matchesBmpReference(r.image.pixels, name, *ref));
                ++compared;
            }
        }
        // All good files but pal8nonsquare have a reference.
        EXPECT_GE(compared, folder == "good" ? files.size() - 1 : 0);
    }
}

// The files of data/other-writers, listed in the table of its README.
TEST(OtherWriters, FilesReadAsTheirSource) {
    const QString data = QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/other-writers/");
    const QRegularExpression row(
        QStringLiteral(R"(^\| (\S+\.(bmp|tga|pcx)) \|.*\| (\S+\.png) \|$)"),
        QRegularExpression::MultilineOption);
    int files = 0;
    for (auto it = row.globalMatch(QString::fromUtf8(readFile(data + "README.md")));
         it.hasNext();) {
        const auto match = it.next();
        SCOPED_TRACE(match.captured(1).toStdString());
        const QImage expected(data + match.captured(3));
        ASSERT_FALSE(expected.isNull());
        const DecodeResult r = decodeBytes(bytesOf(readFile(data + match.captured(1))));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(codecFor(r.image.format)->name, match.captured(2).toStdString());
        EXPECT_EQ(r.image.pixels.hasAlphaChannel(), expected.hasAlphaChannel());
        EXPECT_TRUE(samePixels(expected, r.image.pixels));
        ++files;
    }
    EXPECT_EQ(files, 27);
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
        const bool tga = &suite.codec == &kTga;
        QStringList files = corpusFiles(suite.codec.name, QStringLiteral(".") + suite.codec.name);
        files.removeIf([](const QString& f) { return f.contains(QStringLiteral("/regression/")); });
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
                EXPECT_EQ(r.fullWidth, reference.width());
                // A TGA reference whose alpha is zero everywhere kept a channel
                // the writer never filled; we show such a picture opaque.
                QImage noAlpha(reference.size(), QImage::Format_Alpha8);
                noAlpha.fill(0);
                const bool unfilled =
                    tga && reference.convertToFormat(QImage::Format_Alpha8) == noAlpha;
                EXPECT_TRUE(
                    samePixels(unfilled ? colourOnly(reference) : reference, r.image.pixels));
                ++byReference;
                continue;
            }
            if (!pillow)
                continue;
            if (pillowImages[i].isNull()) {
                // Pillow refuses these. Of the TGA files we decode the rows
                // that are there; both PCX files are damaged: a scan line
                // shorter than the width, and an unknown encoding.
                EXPECT_TRUE(tga ? r.ok() || files[i].contains(QStringLiteral("p_8.tga")) : !r.ok())
                    << r.error.toStdString();
                continue;
            }
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            ++byPillow;
            if (files[i].endsWith(QStringLiteral("p_4_planes.pcx"))) {
                // Planes 0 and 1 set: index 3, red in this file's header
                // palette. Pillow as packaged here steps between planes by the
                // width, not the bytes per line, and reads black.
                EXPECT_EQ(r.image.pixels.pixel(0, 0), qRgb(255, 0, 0));
                continue;
            }
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

// Every JPEG file decodes, also fitted to a box, except ultrahdr.jpg, which
// ends right after its scan header: nothing of the picture arrived.
TEST(JpegCorpus, EveryUsableFileDecodes) {
    DOVI_REQUIRE_CORPUS();
    const QDir dir(corpusDir() + QStringLiteral("/jpeg/pillow"));
    const QStringList names = dir.entryList({QStringLiteral("*.jpg")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray file = readFile(dir.filePath(name));
        const auto full = decode(kJpeg, file);
        const auto small = decode(kJpeg, file, QSize(32, 32));
        EXPECT_EQ(full.ok(), name != QStringLiteral("ultrahdr.jpg")) << full.error.toStdString();
        EXPECT_EQ(full.ok(), full.error.isEmpty());
        if (!full.ok())
            continue;
        ASSERT_TRUE(small.ok()) << small.error.toStdString();
        const QSize size(full.fullWidth, full.fullHeight);
        EXPECT_EQ(full.image.pixels.size(), size);
        EXPECT_EQ(QSize(small.fullWidth, small.fullHeight), size);
        // Fitted: no larger than the picture, and still covering the box.
        EXPECT_TRUE(size.expandedTo(small.image.pixels.size()) == size &&
                    small.image.pixels.size().expandedTo(size.boundedTo({32, 32})) ==
                        small.image.pixels.size());
    }
}

} // namespace dovi::test
