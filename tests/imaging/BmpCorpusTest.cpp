#include "imaging/codecs/BmpCodec.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <map>
#include <optional>

// The public BMP suite: every good file must match its reference picture,
// questionable files decode sensibly or are refused, bad files never crash.
using namespace dovi::imaging;
using dovi::test::corpusDir;

namespace {

DecodeResult decodeBytes(const QByteArray& bytes) {
    return bmp::decode(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())));
}

// A reference picture for a file: its own when published, otherwise one of a
// sibling showing the same picture. The tolerance covers siblings stored at a
// different precision.
struct Reference {
    QString path;
    int tolerance = 0;
};

const std::map<QString, Reference>& siblings() {
    static const std::map<QString, Reference> table = [] {
        std::map<QString, Reference> t;
        for (const char* f : {"pal1wb", "badbitssize", "baddens1", "baddens2", "badfilesize"})
            t[QString(f) + ".bmp"] = {"good/pal1.bmp", 0};
        t["pal4rle.bmp"] = {"good/pal4.bmp", 0};
        for (const char* f :
             {"pal8-0", "pal8os2", "pal8rle", "pal8topdown", "pal8v4", "pal8v5", "pal8offs",
              "pal8os2-hs", "pal8os2-sz", "pal8os2sp", "pal8os2v2", "pal8os2v2-16",
              "pal8os2v2-40sz", "pal8os2v2-sz", "pal8oversizepal", "rgb24rle24", "rletopdown"})
            t[QString(f) + ".bmp"] = {"good/pal8.bmp", 0};
        t["rgb16-565pal.bmp"] = {"good/rgb16-565.bmp", 0};
        t["rgb16bfdef.bmp"] = {"good/rgb16.bmp", 0};
        for (const char* f :
             {"rgb24pal", "rgb32", "rgb32bf", "rgb32bfdef", "rgb24largepal", "rgb24lprof",
              "rgb24prof", "rgb32-xbgr", "rgb32fakealpha", "rgb32h52"})
            t[QString(f) + ".bmp"] = {"good/rgb24.bmp", 0};
        // Exact rounding of the stored 11-bit values differs by one from the
        // 8-bit picture they were made from (357 * 255 / 2047 = 44.47, not 45).
        t["rgb32-111110.bmp"] = {"good/rgb24.bmp", 1};
        // 8-bit alpha; the nearest reference stores 4-bit alpha.
        for (const char* f : {"rgba32-1", "rgba32-2", "rgba32abf", "rgba32h56"})
            t[QString(f) + ".bmp"] = {"questionable/rgba32-81284.bmp", 8};
        return t;
    }();
    return table;
}

std::optional<Reference> referenceFor(const QString& folder, const QString& name) {
    const QString own = folder + "/" + name;
    if (QFileInfo::exists(corpusDir() + "/upstream_ref/bmp/" + own + ".png"))
        return Reference{own, 0};
    const auto it = siblings().find(name);
    if (it != siblings().end())
        return it->second;
    return std::nullopt;
}

// Compares a decode with its reference. Pixels transparent in both are equal
// whatever colour they carry. Where an opaque decode meets a transparent
// reference pixel, the reference marks pixels an RLE stream skipped (we leave
// them black), except in rgb16faketrns, whose reference turns a bit that plain
// 16-bit pixels do not use into transparency (we ignore that bit).
::testing::AssertionResult matches(const QImage& decoded, const QString& name,
                                   const Reference& ref) {
    const QImage expected = QImage(corpusDir() + "/upstream_ref/bmp/" + ref.path + ".png")
                                .convertToFormat(QImage::Format_ARGB32);
    if (expected.isNull())
        return ::testing::AssertionFailure() << "reference missing: " << ref.path.toStdString();
    if (expected.size() != decoded.size())
        return ::testing::AssertionFailure() << "size differs from " << ref.path.toStdString();
    const QImage ours = decoded.convertToFormat(QImage::Format_ARGB32);
    const bool opaque = !decoded.hasAlphaChannel();
    const bool ignoreTransparent = name == "rgb16faketrns.bmp";
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb e = expected.pixel(x, y);
            const QRgb o = ours.pixel(x, y);
            if (qAlpha(e) == 0 && qAlpha(o) == 0)
                continue;
            if (opaque && qAlpha(e) == 0) {
                if (ignoreTransparent || o == 0xff000000u)
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

QStringList filesIn(const QString& folder) {
    const QDir dir(corpusDir() + "/bmp/" + folder);
    return dir.entryList({"*.bmp"}, QDir::Files, QDir::Name);
}

DecodeResult decodeCorpusFile(const QString& folder, const QString& name) {
    return decodeBytes(dovi::test::readFile(corpusDir() + "/bmp/" + folder + "/" + name));
}

} // namespace

TEST(BmpCorpus, GoodFilesMatchTheirReferences) {
    DOVI_REQUIRE_CORPUS();
    const QStringList files = filesIn("good");
    ASSERT_FALSE(files.isEmpty());
    int compared = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const DecodeResult r = decodeCorpusFile("good", name);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.format, Bmp);
        // The file names start with the depth: pal1, pal4, pal8, rgb16, rgb24, rgb32.
        const int depth = name.mid(3, 2).remove(QRegularExpression("[^0-9]")).toInt();
        EXPECT_EQ(r.image.bitsPerPixel, depth);
        EXPECT_EQ(r.image.sourceHadPalette, name.startsWith("pal"));
        if (const auto ref = referenceFor("good", name)) {
            EXPECT_TRUE(matches(r.image.pixels, name, *ref));
            ++compared;
        }
    }
    EXPECT_GE(compared, files.size() - 1); // all but pal8nonsquare have a reference
}

TEST(BmpCorpus, QuestionableFilesDecodeSensiblyOrAreRefused) {
    DOVI_REQUIRE_CORPUS();
    // Embedded JPEG/PNG, OS/2 Huffman coding and 64-bit linear light: refused.
    const QSet<QString> refused{"pal1huffmsb.bmp", "rgb24jpeg.bmp", "rgb24png.bmp", "rgba64.bmp"};
    // rgb24prof2 carries a profile that changes its colours; profiles are not applied.
    const QStringList files = filesIn("questionable");
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const DecodeResult r = decodeCorpusFile("questionable", name);
        if (refused.contains(name)) {
            EXPECT_FALSE(r.ok());
            EXPECT_FALSE(r.error.isEmpty());
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.pixels.hasAlphaChannel(), name.startsWith("rgba"));
        if (const auto ref = referenceFor("questionable", name)) {
            EXPECT_TRUE(matches(r.image.pixels, name, *ref));
        }
    }
}

TEST(BmpCorpus, BadFilesAreRefusedOrDecodeWhatIsSound) {
    DOVI_REQUIRE_CORPUS();
    const QSet<QString> refused{"badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp",
                                "badplanes.bmp",   "badwidth.bmp",      "reallybig.bmp"};
    const QStringList files = filesIn("bad");
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const DecodeResult r = decodeCorpusFile("bad", name);
        EXPECT_EQ(r.ok(), !refused.contains(name)) << r.error.toStdString();
        EXPECT_EQ(r.ok(), r.error.isEmpty());
        // Damage only in fields the reader ignores: the picture is intact.
        if (r.ok() && siblings().count(name)) {
            EXPECT_TRUE(matches(r.image.pixels, name, siblings().at(name)));
        }
    }
}

TEST(BmpCorpus, ShortFileKeepsTheRowsThatArrived) {
    DOVI_REQUIRE_CORPUS();
    const DecodeResult r = decodeCorpusFile("bad", "shortfile.bmp");
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QImage ref = QImage(corpusDir() + "/upstream_ref/bmp/good/pal1.bmp.png")
                           .convertToFormat(QImage::Format_RGB32);
    // 273 bytes, 62 before the pixels, 16 bytes a row: the bottom 13 rows arrived.
    const int arrived = (273 - 62) / 16;
    for (int y = 0; y < ref.height(); ++y) {
        const bool present = y >= ref.height() - arrived;
        for (int x = 0; x < ref.width(); ++x)
            ASSERT_EQ(r.image.pixels.pixel(x, y), present ? ref.pixel(x, y) : 0xff000000u)
                << "(" << x << "," << y << ")";
    }
}

// Inputs that once broke the decoder (kept from fuzzing): none may crash, and
// the result must be consistent.
TEST(BmpRegressions, ReplayedFilesNeverCrash) {
    const QDir dir(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/bmp"));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const DecodeResult r = decodeBytes(dovi::test::readFile(dir.filePath(name)));
        EXPECT_EQ(r.ok(), r.error.isEmpty());
        if (!r.ok())
            continue;
        QByteArray again;
        ASSERT_TRUE(bmp::encode(r.image, again));
        const DecodeResult back = decodeBytes(again);
        ASSERT_TRUE(back.ok()) << back.error.toStdString();
        EXPECT_TRUE(dovi::test::samePixels(r.image.pixels, back.image.pixels));
    }
}
