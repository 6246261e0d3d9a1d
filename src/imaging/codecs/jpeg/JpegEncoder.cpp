#include "imaging/codecs/jpeg/JpegCodec.h"
#include "imaging/codecs/jpeg/JpegErrors.h"
#include "imaging/codecs/jpeg/JpegExif.h"
#include "imaging/codecs/jpeg/JpegPixels.h"
#include "imaging/codecs/jpeg/JpegQuality.h"
#include "imaging/codecs/jpeg/JpegStreams.h"

#include <QtGlobal>
#include <algorithm>
#include <vector>

namespace dovi::imaging::jpeg {

namespace {

// RGB32 in memory; libjpeg ignores the X byte and converts with SIMD.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_XRGB;
#endif

// Optimised Huffman tables make files 2 to 5% smaller, but libjpeg-turbo
// 2.1 gathers their statistics in a pass without SIMD over a buffer of every
// coefficient: encoding a 12-megapixel photo takes 2.5 to 5 times as long.
// They are used up to about a megapixel (thumbnails, web sizes), where that
// time is small; larger pictures get the standard tables, so batch
// conversions of photos stay fast.
constexpr qint64 kOptimisePixelCap = 1 << 20;

constexpr int kBatchRows = 16;
constexpr qsizetype kMaxMarkerPayload = 65533;

struct Compressor {
    jpeg_compress_struct cinfo{};
    ErrorManager err;
    ByteArrayDestination dest{};

    Compressor() { cinfo.err = err.setUp(); }
    ~Compressor() { jpeg_destroy_compress(&cinfo); } // safe when never created
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

// An ICC profile is written only when it describes what the file will hold:
// a CMYK profile kept from a CMYK source would misdescribe the RGB pixels.
bool profileFits(const QByteArray& icc, int components) {
    if (icc.size() < 128)
        return false;
    const QByteArray space = icc.mid(16, 4); // header: data colour space
    return space == (components == 1 ? QByteArrayLiteral("GRAY") : QByteArrayLiteral("RGB "));
}

} // namespace

bool encode(const Image& image, const EncodeOptions& options, QByteArray& out, QString* error) {
    out.clear();
    if (image.isNull())
        return failWith(error, QStringLiteral("No image to save"));

    // JPEG has no alpha: a picture with alpha is flattened onto white, the
    // background transparent areas are usually drawn for (and fully
    // transparent pixels, whose colour is often junk, come out white).
    QImage pixels = image.pixels;
    const bool hasAlpha = pixels.hasAlphaChannel();
    const QImage::Format layout = hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (pixels.format() != layout)
        pixels = pixels.convertToFormat(layout);
    if (pixels.isNull())
        return failWith(error, QStringLiteral("Not enough memory to save the image"));
    const int width = pixels.width();
    const int height = pixels.height();

    // A grey source that is still grey is written with one component: a third
    // of the data, and readers see it as grey again.
    const bool grey = image.bitsPerPixel == 8 &&
                      (image.iccProfile.isEmpty() || profileFits(image.iccProfile, 1)) &&
                      allGrey(pixels);
    const int components = grey ? 1 : 3;
    const bool fullChroma = quality::fullResolutionChroma(options.jpegChrominanceFactor);
    const quality::QuantTable luminance = quality::luminanceTable(options.jpegLuminanceFactor);
    const quality::QuantTable chrominance =
        quality::chrominanceTable(options.jpegChrominanceFactor);

    // The pixels are upright, so the EXIF orientation becomes 1.
    QByteArray exifData;
    if (exif::isExif(Bytes(reinterpret_cast<const std::uint8_t*>(image.exif.constData()),
                           std::size_t(image.exif.size()))) &&
        image.exif.size() <= kMaxMarkerPayload)
        exifData = exif::forUprightSave(image.exif);
    const bool writeProfile = profileFits(image.iccProfile, components);

    std::vector<QRgb> flattened(hasAlpha ? (CheckedSize(width) * kBatchRows).value() : 0);

    Compressor c;
    jpeg_compress_struct& cinfo = c.cinfo;
    const bool written = guarded(c.err, [&] {
        jpeg_create_compress(&cinfo);
        c.dest.attach(&cinfo, out, qsizetype((CheckedSize(width) * height).value() / 4));
        cinfo.image_width = JDIMENSION(width);
        cinfo.image_height = JDIMENSION(height);
        cinfo.input_components = 4;
        cinfo.in_color_space = kRgb32Layout;
        jpeg_set_defaults(&cinfo);
        jpeg_set_colorspace(&cinfo, grey ? JCS_GRAYSCALE : JCS_YCbCr);
        if (!grey) {
            cinfo.comp_info[0].h_samp_factor = fullChroma ? 1 : 2;
            cinfo.comp_info[0].v_samp_factor = fullChroma ? 1 : 2;
        }
        jpeg_add_quant_table(&cinfo, 0, luminance.data(), 100, TRUE);
        jpeg_add_quant_table(&cinfo, 1, chrominance.data(), 100, TRUE);
        cinfo.optimize_coding = qint64(width) * height <= kOptimisePixelCap ? TRUE : FALSE;
        cinfo.dct_method = JDCT_ISLOW;
        jpeg_start_compress(&cinfo, TRUE);
        if (!exifData.isEmpty())
            jpeg_write_marker(&cinfo, JPEG_APP0 + 1,
                              reinterpret_cast<const JOCTET*>(exifData.constData()),
                              unsigned(exifData.size()));
        if (writeProfile)
            jpeg_write_icc_profile(&cinfo,
                                   reinterpret_cast<const JOCTET*>(image.iccProfile.constData()),
                                   unsigned(image.iccProfile.size()));
        JSAMPROW rows[kBatchRows];
        while (cinfo.next_scanline < cinfo.image_height) {
            const int first = int(cinfo.next_scanline);
            const int count = std::min(kBatchRows, height - first);
            for (int i = 0; i < count; ++i) {
                const auto* line = pixels.constScanLine(first + i);
                if (hasAlpha) {
                    QRgb* flat = flattened.data() + std::size_t(i) * std::size_t(width);
                    flattenOnWhite(reinterpret_cast<const QRgb*>(line), flat, width);
                    rows[i] = reinterpret_cast<JSAMPROW>(flat);
                } else {
                    rows[i] = const_cast<JSAMPROW>(line); // libjpeg only reads input rows
                }
            }
            jpeg_write_scanlines(&cinfo, rows, JDIMENSION(count));
        }
        jpeg_finish_compress(&cinfo);
    });
    if (!written) {
        out.clear();
        return failWith(error, c.err.reason());
    }
    out.squeeze();
    return true;
}

} // namespace dovi::imaging::jpeg
