#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>
#include <QString>

// TrueVision Targa reading and writing.
namespace dovi::imaging::tga {

// The entries of the codec table (imaging/Codecs.h), which says what each does.
bool sniff(Bytes head);
DecodeResult decode(Bytes data, const DecodeRequest& request = {});
bool encode(const Image& image, QByteArray& out, QString* error = nullptr);
QSize statedSize(Bytes data);

} // namespace dovi::imaging::tga
