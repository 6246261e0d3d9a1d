#include "JpegTestFiles.h"
#include "support/ImagingSupport.h"

#include <cstdlib>
#include <stdexcept>

namespace dovi::test::jpegfiles {

namespace {

[[noreturn]] void throwMessage(j_common_ptr c) {
    char text[JMSG_LENGTH_MAX];
    c->err->format_message(c, text);
    throw std::runtime_error(text);
}

// Test-side writer: any libjpeg error is a fault in the test itself.
struct Writer {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    Writer() {
        cinfo.err = jpeg_std_error(&err);
        err.error_exit = throwMessage;
        jpeg_create_compress(&cinfo);
        jpeg_mem_dest(&cinfo, &buffer, &size);
    }
    ~Writer() {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
    QByteArray result() const {
        return QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
    }
};

template <typename Rows>
QByteArray compress(int width, int height, int components, J_COLOR_SPACE inSpace,
                    const Options& options, Rows rowAt) {
    Writer w;
    jpeg_compress_struct& c = w.cinfo;
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = components;
    c.in_color_space = inSpace;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, options.fileSpace);
    jpeg_set_quality(&c, options.quality, TRUE);
    if (components == 4) {
        c.write_Adobe_marker = options.adobeMarker ? TRUE : FALSE;
    } else {
        for (int i = 0; i < c.num_components; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor =
                (i == 0 && options.subsample) ? 2 : 1;
    }
    if (options.progressive)
        jpeg_simple_progression(&c);
    if (!options.scans.empty()) {
        c.scan_info = options.scans.data();
        c.num_scans = int(options.scans.size());
    }
    c.arith_code = options.arithmetic ? TRUE : FALSE;
    c.restart_interval = options.restartInterval;
    jpeg_start_compress(&c, TRUE);
    if (!options.app1.isEmpty())
        jpeg_write_marker(&c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(options.app1.data()),
                          unsigned(options.app1.size()));
    if (!options.icc.isEmpty())
        jpeg_write_icc_profile(&c, reinterpret_cast<const JOCTET*>(options.icc.data()),
                               unsigned(options.icc.size()));
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = rowAt(int(c.next_scanline));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    return w.result();
}

} // namespace

QByteArray write(const QImage& picture, const Options& options) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    return compress(rgb.width(), rgb.height(), 3, JCS_RGB, options,
                    [&](int y) { return const_cast<JSAMPROW>(rgb.constScanLine(y)); });
}

QByteArray writeCmyk(const std::vector<std::uint8_t>& inks, int width, int height,
                     J_COLOR_SPACE fileSpace, bool adobeMarker) {
    const Options options{.fileSpace = fileSpace, .quality = 100, .adobeMarker = adobeMarker};
    return compress(width, height, 4, JCS_CMYK, options, [&](int y) {
        return const_cast<JSAMPROW>(inks.data() + std::size_t(y) * width * 4);
    });
}

QByteArray exifWithOrientation(int orientation, bool bigEndian) {
    // (value, size) in the file's byte order: TIFF header, IFD0 of two entries
    // (an ASCII tag first, so the orientation is not entry 0), link to an
    // empty IFD1 right after.
    const std::uint32_t values[] = {
        42, 8, 2, 0x010E, 2, 4, 0, 0x0112, 3, 1, std::uint32_t(orientation), 0, 38, 0, 0};
    const int sizes[] = {2, 4, 2, 2, 2, 4, 0, 2, 2, 4, 2, 2, 4, 2, 4};
    QByteArray out = QByteArray("Exif\0\0", 6) + (bigEndian ? "MM" : "II");
    for (std::size_t f = 0; f < std::size(sizes); ++f) {
        if (sizes[f] == 0)
            out.append("abc", 4);
        for (int i = 0; i < sizes[f]; ++i)
            out.append(char(values[f] >> (8 * (bigEndian ? sizes[f] - 1 - i : i))));
    }
    return out;
}

std::vector<jpeg_scan_info> manyScans(int refinementBits) {
    std::vector<jpeg_scan_info> scans;
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int comp = 0; comp < 3; ++comp) {
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {comp, 0, 0, 0}, k, k, 0, refinementBits});
            for (int al = refinementBits - 1; al >= 0; --al)
                scans.push_back({1, {comp, 0, 0, 0}, k, k, al + 1, al});
        }
    }
    return scans;
}

QImage plainDecode(const QByteArray& file) {
    struct Reader {
        jpeg_decompress_struct d{};
        jpeg_error_mgr err{};
        ~Reader() { jpeg_destroy_decompress(&d); }
    } r;
    jpeg_decompress_struct& d = r.d;
    d.err = jpeg_std_error(&r.err);
    r.err.emit_message = [](j_common_ptr, int) {};
    r.err.error_exit = throwMessage;
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&d);
    QImage out(int(d.output_width), int(d.output_height), QImage::Format_RGB32);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.scanLine(int(d.output_scanline));
        jpeg_read_scanlines(&d, &row, 1);
    }
    return out;
}

QImage quadrants(int width, int height) {
    const int midX = (width / 2) & ~7, midY = (height / 2) & ~7;
    const QRgb colours[] = {qRgb(220, 30, 30), qRgb(20, 200, 40), qRgb(230, 220, 40),
                            qRgb(30, 40, 210)};
    return paint(width, height,
                 [&](int x, int y) { return colours[(x >= midX) + 2 * (y >= midY)]; });
}

qsizetype segmentAt(const QByteArray& file, std::uint8_t marker) {
    // Walks the header segments up to and including the first SOS.
    qsizetype at = 2;
    while (at + 4 <= file.size() && std::uint8_t(file[at]) == 0xFF) {
        const auto kind = std::uint8_t(file[at + 1]);
        if (kind == marker)
            return at;
        if (kind == 0xDA)
            return -1;
        at += 2 + ((std::uint8_t(file[at + 2]) << 8) | std::uint8_t(file[at + 3]));
    }
    return -1;
}

qsizetype segmentEnd(const QByteArray& file, std::uint8_t marker) {
    const qsizetype at = segmentAt(file, marker);
    return at < 0 ? -1 : at + 2 + ((std::uint8_t(file[at + 2]) << 8) | std::uint8_t(file[at + 3]));
}

QByteArray withFrameSize(QByteArray file, int width, int height) {
    for (std::uint8_t sof : {0xC0, 0xC1, 0xC2, 0xC9, 0xCA}) {
        if (const qsizetype at = segmentAt(file, sof); at >= 0)
            return file.replace(at + 5, 4,
                                bytes({height >> 8, height & 0xff, width >> 8, width & 0xff}));
    }
    return file;
}

} // namespace dovi::test::jpegfiles
