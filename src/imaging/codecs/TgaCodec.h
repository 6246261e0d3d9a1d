#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>
#include <QString>

// TrueVision Targa reading and writing.
namespace dovi::imaging::tga {

// True when the first bytes look like this format (cheap; no full parse).
bool sniff(Bytes head);

// Decodes a whole file held in memory. Never trusts the header: a damaged or
// hostile file gives a failed result, never a crash or a huge allocation.
DecodeResult decode(Bytes data, const DecodeRequest& request = {});

// Writes the image as a complete file into out. Returns false (with a reason
// in error when given) when the image cannot be written.
bool encode(const Image& image, QByteArray& out, QString* error = nullptr);

} // namespace dovi::imaging::tga
