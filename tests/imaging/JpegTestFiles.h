#pragma once

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <QByteArray>
#include <QImage>
#include <vector>

// Builds JPEG files in code for the codec tests, straight through libjpeg, so
// every coding feature the reader must handle can be produced on demand.
namespace dovi::test::jpegfiles {

struct Options {
    J_COLOR_SPACE fileSpace = JCS_YCbCr; // JCS_YCbCr, JCS_RGB or JCS_GRAYSCALE
    int quality = 95;
    bool subsample = false; // 4:2:0 instead of 4:4:4
    bool progressive = false;
    bool arithmetic = false;
    unsigned restartInterval = 0;        // in MCUs
    std::vector<jpeg_scan_info> scans{}; // custom scan script when not empty
    QByteArray app1{};                   // written as an APP1 marker when not empty
    QByteArray icc{};                    // written as APP2 ICC_PROFILE chunks
    bool adobeMarker = false;            // 4-component files only
};

QByteArray write(const QImage& picture, const Options& options = {});

// 4-byte C, M, Y, K samples as YCCK or CMYK, with or without Adobe's marker.
QByteArray writeCmyk(const std::vector<std::uint8_t>& inks, int width, int height,
                     J_COLOR_SPACE fileSpace, bool adobeMarker);

// An APP1 EXIF payload holding an orientation tag.
QByteArray exifWithOrientation(int orientation, bool bigEndian);

// One progressive scan per coefficient per refinement bit: far more than any encoder writes.
std::vector<jpeg_scan_info> manyScans(int refinementBits);

// Plain libjpeg's decode (no orientation, no scaling): what the library makes of a file.
QImage plainDecode(const QByteArray& file);

// Four flat quadrants of distinct colours, edges on multiples of 8: nearly
// exact as a JPEG, and any flip or turn shows.
QImage quadrants(int width, int height);

// Offset of the first header segment with this marker, and of the byte after
// it; -1 when the headers up to the first SOS have none.
qsizetype segmentAt(const QByteArray& file, std::uint8_t marker);
qsizetype segmentEnd(const QByteArray& file, std::uint8_t marker);
// Overwrites the frame size (SOFn) of a file.
QByteArray withFrameSize(QByteArray file, int width, int height);

} // namespace dovi::test::jpegfiles
