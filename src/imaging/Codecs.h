#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>
#include <QString>

namespace dovi::imaging {

// Which of the four formats the bytes hold, judged by content (the name's
// extension only breaks a tie for TGA, which has no signature). None when the
// bytes are none of them.
FormatCode sniffFormat(Bytes head, const QString& fileName = {});

// Decodes a file held in memory with the codec its content names.
DecodeResult decodeBytes(Bytes data, const QString& fileName = {},
                         const DecodeRequest& request = {});

// Reads and decodes a file. A missing or unreadable file, or one in no known
// format, gives a failed result with the reason.
DecodeResult decodeFile(const QString& path, const DecodeRequest& request = {});

struct EncodeOptions {
    int jpegLuminanceFactor = 1;
    int jpegChrominanceFactor = 1;
};

// Encodes the image in the given format (Tga, Pcx, Bmp or Jpeg).
bool encodeImage(const Image& image, FormatCode format, const EncodeOptions& options,
                 QByteArray& out, QString* error = nullptr);

// Writes the image to path in the given format, replacing any file there only
// once the whole new file is safely written (temporary file, then rename), so
// a failure never leaves a half-written file or destroys the old one.
bool saveImageFile(const Image& image, const QString& path, FormatCode format,
                   const EncodeOptions& options, QString* error = nullptr);

} // namespace dovi::imaging
