// A decode says when the file ended before its last row: such a picture has
// filler where the file gave nothing, and must never replace the file.
#include "JpegTestFiles.h"
#include "support/ImagingSupport.h"

using namespace dovi::imaging;

namespace dovi::test {

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
