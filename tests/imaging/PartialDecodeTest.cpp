// A decode says when the file ended before its last row: such a picture has
// filler where the file gave nothing, and must never replace the file.
#include "JpegTestFiles.h"
#include "support/ImagingSupport.h"

using namespace dovi::imaging;

namespace dovi::test {

// Cut anywhere, a crafted file that still decodes is flagged partial exactly
// when rows are missing; whole, it never is.
TEST(PartialDecode, CutFilesAreFlaggedWhenRowsAreMissing) {
    const std::pair<const Codec*, std::vector<Variant>> all[] = {
        {&kBmp, bmpVariants()}, {&kTga, tgaVariants()}, {&kPcx, pcxVariants()}};
    for (const auto& [codec, variants] : all) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(codec->name) + ": " + v.name);
            const DecodeResult whole = decode(*codec, v.file);
            ASSERT_TRUE(whole.ok());
            // Some crafted files are cut on purpose.
            EXPECT_EQ(whole.partial, v.name.find("RLE stream cut") != std::string::npos);
            const int height = whole.image.pixels.height();
            for (qsizetype cut = 0; cut < v.file.size(); ++cut) {
                const DecodeResult r = decode(*codec, QByteArray(v.file.constData(), cut));
                if (!r.ok())
                    continue;
                // Rows missing at the end were filled in.
                const int kept = keptRows(whole.image.pixels, r.image.pixels, v.bottomUp);
                if (kept >= 0 && kept < height) {
                    ASSERT_TRUE(r.partial) << cut;
                }
                if (v.wholeRows && v.rowBytes > 0) {
                    const qsizetype rows = std::min<qsizetype>(
                        height, (cut - v.head - v.rowBytes) / (v.rowBytes + v.rowPadding) + 1);
                    ASSERT_EQ(r.partial, rows < height) << cut;
                }
            }
        }
    }
}

TEST(PartialDecode, ACutJpegIsFlaggedAtEverySizeAndScale) {
    for (const bool progressive : {false, true}) {
        jpegfiles::Options options;
        options.progressive = progressive;
        const QByteArray file = jpegfiles::write(makeTestPattern(160, 120), options);
        for (const QSize box : {QSize(), QSize(40, 30)}) {
            SCOPED_TRACE(::testing::Message()
                         << "progressive " << progressive << ", box " << box.width());
            EXPECT_FALSE(decode(kJpeg, file, box).partial);
            const qsizetype dataStart = jpegfiles::segmentEnd(file, 0xDA);
            for (int percent = 10; percent < 100; percent += 15) {
                const QByteArray cut =
                    file.left(dataStart + (file.size() - dataStart) * percent / 100);
                const DecodeResult r = decode(kJpeg, cut, box);
                if (r.ok()) {
                    EXPECT_TRUE(r.partial) << percent << "%";
                }
            }
        }
    }
}

} // namespace dovi::test
