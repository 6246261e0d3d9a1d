#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <span>

namespace dovi::imaging {

// What writing a decoded picture and reading the file back keeps.
enum class Fidelity {
    Exact,   // every pixel, alpha included
    Colours, // every colour; alpha is not written
    Lossy,   // the size only
};

// One format Dovi reads and writes: how to recognise its files, read them and
// write a picture in it. Detection, decoding, encoding, the fuzz targets and
// the codec tests all go through the table of these below.
struct Codec {
    const char* name; // also the folder of its code under codecs/
    FormatCode format;
    // True when the first bytes look like this format (cheap; no full parse).
    bool (*sniff)(Bytes head);
    // Decodes a whole file held in memory; a damaged or hostile file gives a
    // failed result with the reason, never a crash or a huge allocation.
    DecodeResult (*decode)(Bytes data, const DecodeRequest& request);
    // Writes a complete file into out; false, with the reason in *error when
    // given, when the picture cannot be written.
    bool (*encode)(const Image& image, const EncodeOptions& options, QByteArray& out,
                   QString* error);
    // The picture's size as the header states it (upright), without decoding;
    // empty when the header cannot be read. Lets a caller pass over a picture
    // too large for it before paying for the decode.
    QSize (*statedSize)(Bytes data);
    Fidelity fidelity;
};

// Every codec, in the order content sniffing tries them: the formats with a
// signature first, TGA (which has none) last.
std::span<const Codec> codecs();

// The codec of a format code; null for None and for codes no codec reads.
const Codec* codecFor(FormatCode format);

// Which of the formats the bytes hold, judged by content alone: a renamed
// file is still read as what it is. TGA, which has no signature, is the
// answer only when no other format matches and its header is plausible. None
// when the bytes are none of them.
FormatCode sniffFormat(Bytes head);

// Decodes a file held in memory with the codec its content names.
DecodeResult decodeBytes(Bytes data, const DecodeRequest& request = {});

// Reads and decodes a file. A missing or unreadable file, or one in no known
// format, gives a failed result with the reason.
DecodeResult decodeFile(const QString& path, const DecodeRequest& request = {});

// Encodes the image in the given format: one of the codecs, or PngOutput.
bool encodeImage(const Image& image, FormatCode format, const EncodeOptions& options,
                 QByteArray& out, QString* error = nullptr);

// Writes the image to path in the given format, replacing any file there only
// once the whole new file is safely written (temporary file, then rename), so
// a failure never leaves a half-written file or destroys the old one.
bool saveImageFile(const Image& image, const QString& path, FormatCode format,
                   const EncodeOptions& options, QString* error = nullptr);

} // namespace dovi::imaging
