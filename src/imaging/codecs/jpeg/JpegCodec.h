#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>
#include <QString>

// JPEG reading and writing through libjpeg-turbo.
namespace dovi::imaging::jpeg {

bool sniff(Bytes head);

// Decodes a whole file held in memory; a broken file gives a failed result and
// never ends the process. The EXIF orientation is applied, so the picture comes
// back upright. With request.fitBox set, DCT scaling decodes no larger than
// needed to cover the box. A file whose data stops short keeps what decoded,
// the missing blocks as libjpeg fills them (flat grey); it fails only when
// not one row of blocks of the first scan arrived.
DecodeResult decode(Bytes data, const DecodeRequest& request = {});

// The picture's upright size (EXIF orientation applied) from its headers
// alone, without decoding; an empty size when the headers are unreadable.
QSize uprightSize(Bytes data);

// Writes the image as a baseline JPEG with the options' two factors (each
// 1..255: 1 gives the finest quantisation; the file gets smaller as either
// grows). image.exif (orientation reset to upright) and image.iccProfile are
// written back when present.
bool encode(const Image& image, const EncodeOptions& options, QByteArray& out,
            QString* error = nullptr);

} // namespace dovi::imaging::jpeg
