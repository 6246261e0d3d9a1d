#pragma once
#include <QByteArray>
#include <QImage>

namespace dovi::imaging {

// Format codes shared by loading and saving. After a load, None means nothing
// was loaded. The numbers are stored by callers and must not change.
enum FormatCode : int {
    None = 0,
    Tga = 1,
    Pcx = 2,
    Bmp = 5,
    Jpeg = 8,
    // Written only (the command line's lossless output), never read back as a
    // format of its own: far above every code a load can report.
    PngOutput = 40,
};

// A decoded picture plus what its file said about itself.
//
// Pixels are always QImage::Format_RGB32 (opaque) or Format_ARGB32 (the file
// carried a meaningful alpha channel, not premultiplied), whatever the file
// stored, so every operation works on one layout. bitsPerPixel keeps the depth
// the file stores (JPEG: 8 grey, 24 colour), and sourceHadPalette lets writers
// keep a paletted picture paletted.
struct Image {
    QImage pixels;
    FormatCode format = None;
    int bitsPerPixel = 0;
    bool sourceHadPalette = false;
    qint64 fileSize = 0;
    // JPEG metadata carried to a JPEG save: raw APP1 "Exif\0\0..." payload and
    // the assembled ICC profile. Empty when the file had none.
    QByteArray exif;
    QByteArray iccProfile;

    bool isNull() const { return pixels.isNull(); }
};

} // namespace dovi::imaging
