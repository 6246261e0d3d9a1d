#include "imaging/LargeBuffers.h"
#include "imaging/codecs/jpeg/JpegCodec.h"
#include "imaging/codecs/jpeg/JpegErrors.h"
#include "imaging/codecs/jpeg/JpegExif.h"
#include "imaging/codecs/jpeg/JpegPixels.h"
#include "imaging/codecs/jpeg/JpegStreams.h"

// clang-format off
#include <jerror.h>
// clang-format on

#include <QtGlobal>
#include <algorithm>
#include <cstdlib>

namespace dovi::imaging::jpeg {

namespace {

// libjpeg's own buffers (chiefly the coefficient store of progressive and
// multi-scan files: 2 to 8 bytes a pixel) may use 512 MiB, less when the
// output picture is large, so picture plus library stay within 896 MiB.
// Past that the library stops with "Backing store not supported".
constexpr qint64 kLibraryMemoryCap = 512LL << 20;
constexpr qint64 kDecodeMemoryBudget = 896LL << 20;

// A progressive file may legally hold hundreds of scans, and every scan walks
// all blocks of its components however little data it carries, so a small
// file can demand minutes of work (some 30 ns a block a scan). The scan count
// allowed shrinks as the picture grows, keeping scans x blocks near 64
// million (about 2 s), but never below what real encoders write (simple
// progressions use 6 to 10 scans, tuned ones a couple of dozen).
constexpr qint64 kScanBlockBudget = 64'000'000;
constexpr qint64 kMinScanLimit = 32;
constexpr qint64 kMaxScanLimit = 500;

// QImage::Format_RGB32 in memory. The A variants make libjpeg set the fourth
// byte to 0xFF; with the X variants it is undefined.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_ARGB;
#endif

struct ScanLimit {
    jpeg_progress_mgr pub{};
    int maxScans = kMaxScanLimit;
};

// Called by libjpeg for every row of blocks it reads and every batch of rows
// it writes: stops absurd scan counts, and stops at once when the first scan
// broke off inside its first row of blocks, where the library would otherwise
// go on to produce a whole picture of filler.
void watchProgress(j_common_ptr cinfo) {
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    const auto* limit = reinterpret_cast<const ScanLimit*>(cinfo->progress);
    if (d->input_scan_number > limit->maxScans)
        fail(cinfo, "Too many scans in progressive JPEG file");
    const auto* source = reinterpret_cast<const MemorySource*>(d->src);
    if (source->firstRowMissing)
        fail(cinfo, cinfo->err->jpeg_message_table[source->firstRowWarning]);
}

// A Huffman decoder that needs bits past a marker inside a scan warns and
// decodes the rest of that scan as empty blocks (a restart marker only
// resynchronises). The warning comes at the block where the data stopped,
// which makes it the place to note the cut: the source itself learns of the
// end earlier, while up to 57 bits of data still wait in the bit buffer. The
// end-of-image marker (the source's own one when the file ran out), or any
// marker in a file of one scan, means the picture's coded data has ended.
void noteCutScan(j_common_ptr cinfo, int code) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (code != JWRN_HIT_MARKER || d->src == nullptr)
        return;
    const int marker = d->unread_marker;
    if (marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7)
        return;
    auto* source = reinterpret_cast<MemorySource*>(d->src);
    source->noteCut(d, source->ranDry ? JWRN_JPEG_EOF : code,
                    marker == JPEG_EOI || source->singleScan);
}

// Everything a decode holds while libjpeg runs. It lives outside the guarded
// calls, so the jump after a library error skips no destructor.
struct Decompressor {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    MemorySource source{};
    ScanLimit scanLimit;
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;

    Decompressor() {
        cinfo.err = err.setUp();
        err.onWarning = noteCutScan;
    }
    ~Decompressor() {
        jpeg_destroy_decompress(&cinfo); // safe on a struct that was never created
        std::free(icc);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

// Output rows of one iMCU row (a row of MCUs), after DCT scaling.
int outputRowsPerIMcuRow(const jpeg_decompress_struct& cinfo) {
#if JPEG_LIB_VERSION >= 70
    return cinfo.max_v_samp_factor * cinfo.min_DCT_v_scaled_size;
#else
    return cinfo.max_v_samp_factor * cinfo.min_DCT_scaled_size;
#endif
}

// When the data ends inside the first scan, every block past that point
// decodes to the same flat colour. Output rows stay influenced by decoded
// blocks for a little longer: the iMCU row being read, one of chroma
// upsampling context and two of progressive block smoothing.
constexpr int kFlatAfterIMcuRows = 4;

int ceilDiv(int value, int divisor) {
    return (value + divisor - 1) / divisor;
}

// The largest DCT reduction (1/8, 1/4, 1/2) whose output still covers the box
// in both directions; the upright size is what the box is compared with.
int scaleDenominator(int uprightWidth, int uprightHeight, QSize box) {
    for (int denom : {8, 4, 2}) {
        if (ceilDiv(uprightWidth, denom) >= box.width() &&
            ceilDiv(uprightHeight, denom) >= box.height())
            return denom;
    }
    return 1;
}

int scanLimitFor(const jpeg_decompress_struct& cinfo) {
    qint64 blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks += qint64(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks;
    return int(
        std::clamp(kScanBlockBudget / std::max<qint64>(blocks, 1), kMinScanLimit, kMaxScanLimit));
}

// The first APP1 marker that holds EXIF, raw.
QByteArray exifPayload(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && exif::isExif(Bytes(m->data, m->data_length)))
            return QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
    }
    return {};
}

// Reads the headers up to the first scan, keeping EXIF and ICC markers.
bool readHeader(Decompressor& d, Bytes data, bool withProfile) {
    jpeg_decompress_struct& cinfo = d.cinfo;
    return guarded(d.err, [&] {
        jpeg_create_decompress(&cinfo);
        d.source.attach(&cinfo, data);
        jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
        if (withProfile)
            jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
        jpeg_read_header(&cinfo, TRUE);
        if (withProfile)
            jpeg_read_icc_profile(&cinfo, &d.icc, &d.iccLength);
    });
}

int orientationOf(const QByteArray& exifData) {
    return exif::orientation(Bytes(reinterpret_cast<const std::uint8_t*>(exifData.constData()),
                                   std::size_t(exifData.size())));
}

} // namespace

QSize uprightSize(Bytes data) {
    Decompressor d;
    if (!readHeader(d, data, false))
        return {};
    const QSize stored(int(d.cinfo.image_width), int(d.cinfo.image_height));
    return orientationOf(exifPayload(d.cinfo)) >= 5 ? stored.transposed() : stored;
}

DecodeResult decode(Bytes data, const DecodeRequest& request) {
    Decompressor d;
    jpeg_decompress_struct& cinfo = d.cinfo;
    if (!readHeader(d, data, true))
        return DecodeResult::failure(d.err.reason());

    d.source.singleScan = !cinfo.progressive_mode && cinfo.comps_in_scan == cinfo.num_components;
    const int storedWidth = int(cinfo.image_width);
    const int storedHeight = int(cinfo.image_height);
    if (!dimensionsAllowed(storedWidth, storedHeight))
        return DecodeResult::failure(
            QStringLiteral("Image too large (%1 x %2)").arg(storedWidth).arg(storedHeight));

    const QByteArray exifData = exifPayload(cinfo);
    const int orientation = orientationOf(exifData);
    const bool swapsSides = orientation >= 5;
    const int uprightWidth = swapsSides ? storedHeight : storedWidth;
    const int uprightHeight = swapsSides ? storedWidth : storedHeight;

    // Grey, YCbCr and RGB files come out of libjpeg as RGB32 (with SIMD);
    // CMYK and YCCK as CMYK, converted here. A CMYK file reports 24 bits, the
    // depth of the colour picture it decodes to, like any colour JPEG.
    int bitsPerPixel = 24;
    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        bitsPerPixel = 8;
        cinfo.out_color_space = kRgb32Layout;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = kRgb32Layout;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cmyk = true;
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        return DecodeResult::failure(QStringLiteral("Unsupported JPEG colour space"));
    }

    const QSize box = request.fitBox;
    if (box.width() > 0 && box.height() > 0) {
        cinfo.scale_num = 1;
        cinfo.scale_denom = unsigned(scaleDenominator(uprightWidth, uprightHeight, box));
        // The caller shrinks this further, which hides the small losses of the
        // fast integer DCT and of plain chroma upsampling; full-size decodes
        // keep the accurate path so measurements match careful tools.
        if (!request.accurate && (uprightWidth > box.width() || uprightHeight > box.height())) {
            cinfo.dct_method = JDCT_IFAST;
            cinfo.do_fancy_upsampling = FALSE;
        }
    }
    if (!guarded(d.err, [&] { jpeg_calc_output_dimensions(&cinfo); }))
        return DecodeResult::failure(d.err.reason());
    const int outWidth = int(cinfo.output_width);
    const int outHeight = int(cinfo.output_height);
    if (!dimensionsAllowed(outWidth, outHeight))
        return DecodeResult::failure(QStringLiteral("Bad JPEG output size"));

    const qint64 pictureBytes = qint64((CheckedSize(outWidth) * outHeight * 4).value());
    cinfo.mem->max_memory_to_use =
        long(std::min(kLibraryMemoryCap, kDecodeMemoryBudget - pictureBytes));
    d.scanLimit.maxScans = scanLimitFor(cinfo);
    d.scanLimit.pub.progress_monitor = watchProgress;
    cinfo.progress = &d.scanLimit.pub;

    // libjpeg writes every row, so the picture needs no clearing first.
    QImage pixels = allocateImage(swapsSides ? outHeight : outWidth,
                                  swapsSides ? outWidth : outHeight, QImage::Format_RGB32);
    if (pixels.isNull())
        return DecodeResult::failure(QStringLiteral("Not enough memory for the image"));
    RowPlacer placer(pixels, orientation);
    if (!placer.ready())
        return DecodeResult::failure(QStringLiteral("Not enough memory for the image"));

    if (!guarded(d.err, [&] { jpeg_start_decompress(&cinfo); }))
        return DecodeResult::failure(d.err.reason());
    if (int(cinfo.output_width) != outWidth || int(cinfo.output_height) != outHeight ||
        cinfo.output_components != 4)
        return DecodeResult::failure(QStringLiteral("Unexpected JPEG output layout"));

    // A file that ends early decodes as libjpeg makes it. With Huffman coding
    // the missing blocks come out flat (mid grey for grey and colour files):
    // once the data has run dry in the first scan and the output has passed
    // the rows it can still reach, the rest is that flat colour, filled here
    // rather than decoded, so a small file declaring a huge picture costs
    // little. (An arithmetic decoder keeps producing symbols from the zeros
    // it is fed, so those files are decoded to the end.)
    int rowsDone = 0;
    int flatFrom = outHeight;
    const bool allRows = guarded(d.err, [&] {
        while (rowsDone < outHeight) {
            const int first = int(cinfo.output_scanline);
            const int count = std::min(RowPlacer::kStripRows, outHeight - first);
            JSAMPROW rows[RowPlacer::kStripRows];
            for (int i = 0; i < count; ++i)
                rows[i] = placer.rowFor(first + i, i);
            int got = 0;
            while (got < count) {
                const JDIMENSION n =
                    jpeg_read_scanlines(&cinfo, rows + got, JDIMENSION(count - got));
                if (n == 0)
                    fail(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG decoder made no progress");
                got += int(n);
            }
            if (cmyk) {
                for (int i = 0; i < got; ++i)
                    cmykToRgb32(rows[i], outWidth, cinfo.saw_Adobe_marker);
            }
            placer.place(first, got);
            rowsDone = first + got;
            if (flatFrom == outHeight && d.source.dataEnded && d.source.scanAtEnd <= 1 &&
                !cinfo.arith_code) {
                const qint64 from =
                    (qint64(d.source.rowsAtEnd) + kFlatAfterIMcuRows) * outputRowsPerIMcuRow(cinfo);
                flatFrom = int(std::min<qint64>(from, outHeight));
            }
            if (rowsDone > flatFrom) {
                placer.fillFrom(rowsDone, placer.firstPixelOf(flatFrom));
                rowsDone = outHeight;
            }
        }
    });

    // A fatal error part way keeps the rows decoded so far; the rest stays
    // black. A first scan broken off inside its first row of blocks gave no
    // picture at all (watchProgress usually stops those early).
    if (!allRows) {
        if (rowsDone == 0)
            return DecodeResult::failure(d.err.reason());
        placer.fillFrom(rowsDone, 0xff000000u);
    } else if (d.source.firstRowMissing) {
        return DecodeResult::failure(
            QString::fromLatin1(d.err.pub.jpeg_message_table[d.source.firstRowWarning]));
    }

    DecodeResult result;
    result.image.pixels = std::move(pixels);
    result.image.format = Jpeg;
    result.image.bitsPerPixel = bitsPerPixel;
    result.image.fileSize = qint64(data.size());
    result.image.exif = exifData;
    if (d.icc)
        result.image.iccProfile = QByteArray(reinterpret_cast<const char*>(d.icc), d.iccLength);
    result.fullWidth = uprightWidth;
    result.fullHeight = uprightHeight;
    result.partial = !allRows || d.source.dataEnded || d.source.ranDry;
    return result;
}

} // namespace dovi::imaging::jpeg
