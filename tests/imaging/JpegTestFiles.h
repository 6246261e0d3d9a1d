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
    unsigned restartInterval = 0;      // in MCUs
    std::vector<jpeg_scan_info> scans; // custom scan script when not empty
    QByteArray app1;                   // written as an APP1 marker when not empty
    QByteArray icc;                    // written as APP2 ICC_PROFILE chunks
    bool adobeMarker = false;          // 4-component files only
};

// Encodes an RGB32/ARGB32 picture (alpha ignored).
QByteArray write(const QImage& picture, const Options& options = {});

// Encodes 4-byte C, M, Y, K samples as a 4-component file: YCCK or CMYK, with
// or without Adobe's APP14 marker.
QByteArray writeCmyk(const std::vector<std::uint8_t>& inks, int width, int height,
                     J_COLOR_SPACE fileSpace, bool adobeMarker);

// An APP1 EXIF payload whose IFD0 holds an orientation tag (SHORT) and a
// second, unrelated tag, followed by a link to an IFD1.
QByteArray exifWithOrientation(int orientation, bool bigEndian);

// A progressive scan script for three components with one scan per
// coefficient per refinement bit: far more scans than any encoder writes.
std::vector<jpeg_scan_info> manyScans(int refinementBits);

// Decodes with plain libjpeg defaults (memory source, no orientation, no
// scaling) to RGB32: the reference for what the library makes of a file.
QImage plainDecode(const QByteArray& file);

// Four flat quadrants of distinct colours (red, green, blue, yellow from the
// top left, clockwise) with edges on multiples of 8, so a JPEG of it is
// nearly exact and any flip or turn shows.
QImage quadrants(int width, int height);

// Offset of the first header segment with this marker (0xFF, marker), and of
// the byte after it; -1 when the headers up to the first SOS have none.
qsizetype segmentAt(const QByteArray& file, std::uint8_t marker);
qsizetype segmentEnd(const QByteArray& file, std::uint8_t marker);
// Overwrites the frame size (SOFn) of a file.
QByteArray withFrameSize(QByteArray file, int width, int height);

} // namespace dovi::test::jpegfiles
