// What every reader must do with the files crafted for it, with files cut
// short or broken, and with inputs that once broke a decoder.
#include "JpegTestFiles.h"
#include "support/ImagingSupport.h"

#include <random>

using namespace dovi::imaging;

namespace dovi::test {

namespace {

std::vector<std::pair<const Codec*, std::vector<Variant>>> allVariants() {
    return {{&kBmp, bmpVariants()}, {&kTga, tgaVariants()}, {&kPcx, pcxVariants()}};
}

// What every decode must give, whatever the input: a picture of a sane size,
// or a failure that says why. JPEG pictures are always opaque.
void expectSound(const Codec& codec, const DecodeResult& r, const std::string& what) {
    EXPECT_EQ(r.ok(), r.error.isEmpty()) << what;
    if (!r.ok())
        return;
    EXPECT_TRUE(dimensionsAllowed(r.fullWidth, r.fullHeight)) << what;
    if (&codec == &kJpeg) {
        EXPECT_EQ(r.image.pixels.format(), QImage::Format_RGB32) << what;
    }
}

QByteArray jpegSample(bool progressive) {
    jpegfiles::Options options;
    options.progressive = progressive;
    options.subsample = true;
    options.app1 = jpegfiles::exifWithOrientation(6, false);
    return jpegfiles::write(makeTestPattern(96, 64), options);
}

std::vector<Broken> jpegBroken() {
    const QByteArray small = jpegfiles::write(makeTestPattern(32, 32));
    jpegfiles::Options progressive;
    progressive.progressive = true;
    const auto sized = [&](int w, int h) { return jpegfiles::withFrameSize(small, w, h); };
    return {
        {"declared 32767 x 32767", sized(32767, 32767)},
        {"declared 40000 wide", sized(40000, 10)},
        {"declared 12000 x 12000", sized(12000, 12000)},
        {"declared 0 wide", sized(0, 32)},
        // 96 million pixels at 4:4:4 need about 550 MiB of coefficients.
        {"progressive needing too much memory",
         jpegfiles::withFrameSize(jpegfiles::write(makeTestPattern(32, 32), progressive), 32000,
                                  3000)},
    };
}

const QByteArray kNotJpeg[] = {QByteArray(), QByteArray("\xff"), QByteArray("BM6\0\0\0", 6),
                               QByteArray("\xff\xd8\xff\xd9", 4)};

} // namespace

TEST(Readers, EveryCraftedFileDecodesToItsPicture) {
    for (const auto& [codec, variants] : allVariants()) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(codec->name) + ": " + v.name);
            EXPECT_TRUE(codec->sniff(bytesOf(v.file)));
            const DecodeResult r = decode(*codec, v.file);
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            EXPECT_TRUE(samePixels(v.picture, r.image.pixels));
            EXPECT_EQ(r.image.pixels.format(), v.picture.format());
            EXPECT_EQ(r.image.format, codec->format);
            EXPECT_EQ(r.image.bitsPerPixel, v.bitsPerPixel);
            EXPECT_EQ(r.image.sourceHadPalette, v.paletted);
            EXPECT_EQ(r.image.fileSize, v.file.size());
            EXPECT_EQ(QSize(r.fullWidth, r.fullHeight), v.picture.size());
        }
    }
}

// Cut anywhere, a file decodes to nothing (less than one row) or to the rows
// that arrived whole, the rest black. Each cut is a copy exactly as long as
// the cut, so ASan sees any read past its end.
TEST(Readers, CutFilesKeepWholeRowsOnly) {
    for (const auto& [codec, variants] : allVariants()) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(codec->name) + ": " + v.name);
            const QImage whole = decode(*codec, v.file).image.pixels;
            const int height = whole.height();
            for (qsizetype cut = 0; cut <= v.file.size(); ++cut) {
                const DecodeResult r = decode(*codec, QByteArray(v.file.constData(), cut));
                ASSERT_EQ(r.ok(), r.error.isEmpty()) << cut;
                if (!v.wholeRows)
                    continue;
                const int kept = r.ok() ? keptRows(whole, r.image.pixels, v.bottomUp) : 0;
                if (v.rowBytes == 0) {
                    ASSERT_TRUE(!r.ok() || kept >= 1) << cut;
                    continue;
                }
                const qsizetype rows =
                    cut < v.head + v.rowBytes
                        ? 0
                        : std::min<qsizetype>(
                              height,
                              (cut - v.head - v.rowBytes) / (v.rowBytes + v.rowPadding) + 1);
                ASSERT_EQ(r.ok(), rows > 0) << cut;
                ASSERT_EQ(kept, rows) << cut;
            }
        }
    }
}

TEST(Readers, BrokenFilesAreRefused) {
    const std::pair<const Codec*, std::vector<Broken>> all[] = {
        {&kBmp, bmpBroken()}, {&kTga, tgaBroken()}, {&kPcx, pcxBroken()}, {&kJpeg, jpegBroken()}};
    for (const auto& [codec, broken] : all) {
        for (const Broken& b : broken) {
            SCOPED_TRACE(std::string(codec->name) + ": " + b.name);
            const DecodeResult r = decode(*codec, b.file);
            EXPECT_FALSE(r.ok());
            EXPECT_FALSE(r.error.isEmpty());
        }
    }
    for (const QByteArray& data : kNotJpeg) {
        EXPECT_FALSE(decode(kJpeg, data).ok());
        EXPECT_FALSE(decode(kJpeg, data).error.isEmpty());
        EXPECT_TRUE(jpeg::uprightSize(bytesOf(data)).isEmpty());
    }
}

TEST(Readers, SniffWantsAPlausibleHeader) {
    const QByteArray bmp = bmpVariants().back().file;
    const QByteArray text = QByteArray("Hello, this is text, not a picture at all.").repeated(4);
    const struct {
        const Codec& codec;
        QByteArray head;
        bool expected;
    } cases[] = {
        {kBmp, bmp.left(2), true},
        {kBmp, bmp.left(1), false},
        {kBmp, "BA" + bmp.mid(2), false},
        {kBmp, damaged(bmp, [](QByteArray& d) { d[14] = char(0xff); }), false},
        {kBmp, text, false},
        {kTga, tgaVariants().front().file.left(17), false},
        {kTga, text, false},
        {kPcx, text, false},
        {kJpeg, QByteArray("\xff\xd8\xff\xe0", 4), true},
        {kJpeg, QByteArray("\xff\xd8", 2), false},
        {kJpeg, QByteArray("\xff\xd8\x00", 3), false},
        {kJpeg, QByteArray("BM\x00\x00", 4), false},
        {kJpeg, {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.codec.sniff(bytesOf(c.head)), c.expected)
            << c.codec.name << ": " << c.head.toHex().toStdString();
}

// Inputs that once broke a decoder (kept from fuzzing, and the damaged TGA
// files of the public suite) are replayed: each decodes soundly or fails
// saying why, and what decodes writes and reads back.
TEST(Readers, KeptRegressionsDecodeSoundly) {
    for (const Codec* codec : {&kBmp, &kTga, &kPcx, &kJpeg}) {
        QStringList files;
        const QDir kept(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/") +
                        codec->name);
        for (const QString& name : kept.entryList(QDir::Files, QDir::Name))
            files << kept.filePath(name);
        if (codec == &kTga && !corpusDir().isEmpty())
            files += corpusFiles(QStringLiteral("tga/image-rs/regression"), QString());
        for (const QString& file : files) {
            const std::string what = file.toStdString();
            const QByteArray data = readFile(file);
            const DecodeResult r = decode(*codec, data);
            expectSound(*codec, r, what);
            expectSound(*codec, decode(*codec, data, QSize(64, 64)), what);
            if (!r.ok())
                continue;
            EXPECT_EQ(r.image.pixels.size(), QSize(r.fullWidth, r.fullHeight)) << what;
            QByteArray again;
            ASSERT_TRUE(encode(*codec, r.image, again, nullptr)) << what;
            const DecodeResult back = decode(*codec, again);
            expectSound(*codec, back, what);
            ASSERT_TRUE(back.ok()) << what;
            // JPEG is lossy and PCX is written without alpha.
            if (codec == &kPcx) {
                EXPECT_TRUE(samePixels(colourOnly(r.image.pixels), back.image.pixels)) << what;
            } else if (codec != &kJpeg) {
                EXPECT_TRUE(samePixels(r.image.pixels, back.image.pixels)) << what;
            }
        }
    }
}

TEST(JpegDamage, EveryCutFailsOrKeepsWhatArrived) {
    for (const bool progressive : {false, true}) {
        const QByteArray file = jpegSample(progressive);
        const qsizetype dataStart = jpegfiles::segmentEnd(file, 0xDA);
        ASSERT_GT(dataStart, 0);
        for (qsizetype cut = 0; cut < file.size(); cut += (cut < dataStart + 64 ? 1 : 7)) {
            const auto r = decode(kJpeg, file.left(cut));
            expectSound(kJpeg, r, "cut at " + std::to_string(cut));
            if (cut <= dataStart) {
                EXPECT_FALSE(r.ok()) << "nothing of the picture arrived, cut at " << cut;
            } else if (r.ok()) {
                EXPECT_EQ(r.image.pixels.size(), QSize(64, 96)) << cut; // still turned upright
            }
        }
    }
    // Ending right after the scan header, nothing of the picture arrived.
    const QByteArray file = jpegSample(false);
    const auto r = decode(kJpeg, file.left(jpegfiles::segmentEnd(file, 0xDA)));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, QStringLiteral("Premature end of JPEG file"));
}

// Cut files decode exactly as libjpeg itself fills them, though Dovi stops
// decoding once only filler is left.
TEST(JpegDamage, CutFileMatchesWhatTheLibraryMakesOfIt) {
    for (const bool progressive : {false, true}) {
        jpegfiles::Options options;
        options.progressive = progressive;
        options.subsample = true;
        // Narrow pictures put many rows of blocks in the decoder's read-ahead.
        for (const int width : {8, 72}) {
            const QByteArray file = jpegfiles::write(makeTestPattern(width, 400), options);
            const qsizetype dataStart = jpegfiles::segmentEnd(file, 0xDA);
            for (int percent = 5; percent < 100; percent += 9) {
                const QByteArray cut =
                    file.left(dataStart + (file.size() - dataStart) * percent / 100);
                const auto r = decode(kJpeg, cut);
                if (!r.ok()) {
                    // A cut inside a later scan's header is fatal to libjpeg too.
                    EXPECT_THROW(jpegfiles::plainDecode(cut), std::runtime_error) << percent;
                    continue;
                }
                EXPECT_TRUE(samePixels(jpegfiles::plainDecode(cut), r.image.pixels))
                    << width << " wide, " << percent << "%, progressive " << progressive;
            }
        }
    }
    const QByteArray file = jpegfiles::write(makeTestPattern(64, 128));
    const auto full = decode(kJpeg, file);
    ASSERT_TRUE(full.ok());
    const qsizetype dataStart = jpegfiles::segmentEnd(file, 0xDA);
    const auto cut = decode(kJpeg, file.left(dataStart + (file.size() - dataStart) / 2));
    ASSERT_TRUE(cut.ok()) << cut.error.toStdString();
    // The top arrived; the rest is grey.
    EXPECT_TRUE(
        samePixels(full.image.pixels.copy(0, 0, 64, 16), cut.image.pixels.copy(0, 0, 64, 16)));
    EXPECT_EQ(cut.image.pixels.pixel(40, 127), qRgb(128, 128, 128));
}

TEST(JpegDamage, RandomByteFlipsNeverBreakTheDecoder) {
    std::mt19937 random(1234);
    for (const bool progressive : {false, true}) {
        const QByteArray file = jpegSample(progressive);
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = file;
            const int flips = 1 + int(random() % 8);
            for (int i = 0; i < flips; ++i)
                damaged[qsizetype(random() % std::uint32_t(damaged.size()))] = char(random());
            const std::string what = "round " + std::to_string(round);
            expectSound(kJpeg, decode(kJpeg, damaged), what);
            expectSound(kJpeg, decode(kJpeg, damaged, QSize(20, 20)), what);
        }
    }
}

TEST(JpegDamage, AbsurdNumberOfScansIsRefused) {
    jpegfiles::Options options;
    options.progressive = true;
    options.scans = jpegfiles::manyScans(2); // 1 + 3 * 63 * 3 = 568 scans
    const auto r = decode(kJpeg, jpegfiles::write(makeTestPattern(32, 32), options));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("scans"))) << r.error.toStdString();
    options.scans = jpegfiles::manyScans(0); // 190 scans: odd but within bounds for a small picture
    const auto fine = decode(kJpeg, jpegfiles::write(makeTestPattern(32, 32), options));
    EXPECT_TRUE(fine.ok()) << fine.error.toStdString();
}

} // namespace dovi::test
