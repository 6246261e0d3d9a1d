// What every reader of the codec table must do with the files crafted for it,
// with files cut short or broken, and with inputs that once broke a decoder.
#include "JpegTestFiles.h"
#include "support/ImagingSupport.h"

using namespace dovi::imaging;

namespace dovi::test {

namespace {

std::vector<std::pair<const Codec*, std::vector<Variant>>> allVariants() {
    return {{&kBmp, bmpVariants()}, {&kTga, tgaVariants()}, {&kPcx, pcxVariants()}};
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
        {"empty", {}},
        {"one byte", "\xff"},
        {"a BMP signature", QByteArray("BM6\0\0\0", 6)},
        {"start and end of image only", QByteArray("\xff\xd8\xff\xd9", 4)},
    };
}

} // namespace

// Each crafted file is told apart by content alone and decodes to its picture
// and facts.
TEST(Readers, EveryCraftedFileDecodesToItsPicture) {
    for (const auto& [codec, variants] : allVariants()) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(codec->name) + ": " + v.name);
            EXPECT_EQ(sniffFormat(bytesOf(v.file)), codec->format);
            const DecodeResult r = decodeBytes(bytesOf(v.file));
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            EXPECT_TRUE(samePixels(v.picture, r.image.pixels));
            EXPECT_EQ(std::tuple(r.image.pixels.format(), r.image.format, r.image.bitsPerPixel,
                                 r.image.sourceHadPalette, r.image.fileSize,
                                 QSize(r.fullWidth, r.fullHeight),
                                 codec->statedSize(bytesOf(v.file))),
                      std::tuple(v.picture.format(), codec->format, v.bitsPerPixel, v.paletted,
                                 v.file.size(), v.picture.size(), v.picture.size()));
        }
    }
}

// Cut anywhere, a file decodes to nothing (less than one row) or to the rows
// that arrived whole, the rest black, flagged partial exactly when rows are missing. Each cut is a
// copy exactly as long as the cut, so ASan sees any read past its end.
TEST(Readers, CutFilesKeepWholeRowsOnly) {
    for (const auto& [codec, variants] : allVariants()) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(codec->name) + ": " + v.name);
            const DecodeResult full = decode(*codec, v.file);
            // Some crafted files are cut on purpose; no other whole file is partial.
            EXPECT_EQ(full.partial, v.name.find("RLE stream cut") != std::string::npos);
            const QImage whole = full.image.pixels;
            for (qsizetype cut = 0; cut <= v.file.size(); ++cut) {
                const DecodeResult r = decode(*codec, QByteArray(v.file.constData(), cut));
                ASSERT_EQ(r.ok(), r.error.isEmpty()) << cut;
                const int kept = r.ok() ? keptRows(whole, r.image.pixels, v.bottomUp) : 0;
                if (r.ok() && kept >= 0 && kept < whole.height()) {
                    ASSERT_TRUE(r.partial) << cut << ": rows were missing";
                }
                if (!v.wholeRows)
                    continue;
                if (v.rowBytes == 0) {
                    ASSERT_TRUE(!r.ok() || kept >= 1) << cut;
                    continue;
                }
                const qsizetype rows =
                    cut < v.head + v.rowBytes
                        ? 0
                        : std::min<qsizetype>(
                              whole.height(),
                              (cut - v.head - v.rowBytes) / (v.rowBytes + v.rowPadding) + 1);
                ASSERT_EQ(r.ok(), rows > 0) << cut;
                ASSERT_EQ(kept, rows) << cut;
                ASSERT_EQ(r.partial, r.ok() && rows < whole.height()) << cut;
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
            EXPECT_TRUE(!r.ok() && !r.error.isEmpty());
        }
    }
    EXPECT_FALSE(decodeBytes(bytesOf("Hello, no picture here.")).ok());
    EXPECT_TRUE(jpeg::uprightSize(bytesOf("\xff\xd8\xff\xd9")).isEmpty());
}

// Sniffing wants a plausible header, not just a first byte or two.
TEST(Readers, SniffWantsAPlausibleHeader) {
    const QByteArray bmp = bmpVariants().back().file;
    const QByteArray text = QByteArray("Hello, this is text, not a picture at all.").repeated(4);
    for (const Codec& codec : codecs())
        EXPECT_FALSE(codec.sniff(bytesOf(text))) << codec.name;
    EXPECT_TRUE(kBmp.sniff(bytesOf(bmp.left(2))));
    EXPECT_FALSE(kBmp.sniff(bytesOf("BA" + bmp.mid(2))));
    EXPECT_FALSE(kBmp.sniff(bytesOf(damaged(bmp, [](QByteArray& d) { d[14] = char(0xff); }))));
    EXPECT_FALSE(kTga.sniff(bytesOf(tgaVariants().front().file.left(17))));
    EXPECT_TRUE(kJpeg.sniff(bytesOf(QByteArray("\xff\xd8\xff\xe0", 4))));
    EXPECT_FALSE(kJpeg.sniff(bytesOf(QByteArray("\xff\xd8\x00", 3))));
}

// Inputs that once broke a decoder (kept from fuzzing, and the damaged TGA
// files of the public suite) are replayed: each decodes soundly or fails
// saying why, and what decodes is written and read back as its codec keeps it.
TEST(Readers, KeptRegressionsDecodeSoundly) {
    for (const Codec& codec : codecs()) {
        QStringList files;
        const QDir kept(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/") +
                        codec.name);
        for (const QString& name : kept.entryList(QDir::Files, QDir::Name))
            files << kept.filePath(name);
        if (&codec == &kTga && !corpusDir().isEmpty())
            files += corpusFiles(QStringLiteral("tga/image-rs/regression"), QString());
        for (const QString& file : files) {
            SCOPED_TRACE(file.toStdString());
            const QByteArray data = readFile(file);
            const DecodeResult fitted = decode(codec, data, QSize(64, 64));
            EXPECT_EQ(fitted.ok(), fitted.error.isEmpty());
            const DecodeResult r = decode(codec, data);
            EXPECT_EQ(r.ok(), r.error.isEmpty());
            if (!r.ok())
                continue;
            EXPECT_EQ(r.image.pixels.size(), QSize(r.fullWidth, r.fullHeight));
            EXPECT_TRUE(dimensionsAllowed(r.fullWidth, r.fullHeight));
            QByteArray again;
            ASSERT_TRUE(encode(codec, r.image, again));
            const DecodeResult back = decode(codec, again);
            ASSERT_TRUE(back.ok()) << back.error.toStdString();
            if (codec.fidelity == Fidelity::Lossy)
                EXPECT_EQ(back.image.pixels.size(), r.image.pixels.size());
            else
                EXPECT_TRUE(samePixels(
                    codec.fidelity == Fidelity::Exact ? r.image.pixels : colourOnly(r.image.pixels),
                    back.image.pixels));
        }
    }
}

} // namespace dovi::test
