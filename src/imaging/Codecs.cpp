#include "imaging/Codecs.h"

#include "imaging/LargeBuffers.h"
#include "imaging/codecs/bmp/BmpCodec.h"
#include "imaging/codecs/jpeg/JpegCodec.h"
#include "imaging/codecs/pcx/PcxCodec.h"
#include "imaging/codecs/tga/TgaCodec.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

namespace dovi::imaging {

namespace {

// The lossless writers take no options.
template <bool (*Encode)(const Image&, QByteArray&, QString*)>
bool withoutOptions(const Image& image, const EncodeOptions&, QByteArray& out, QString* error) {
    return Encode(image, out, error);
}

constexpr Codec kCodecs[] = {
    {"jpeg", Jpeg, jpeg::sniff, jpeg::decode, jpeg::encode, jpeg::uprightSize, Fidelity::Lossy},
    {"bmp", Bmp, bmp::sniff, bmp::decode, withoutOptions<bmp::encode>, bmp::statedSize,
     Fidelity::Exact},
    {"pcx", Pcx, pcx::sniff, pcx::decode, withoutOptions<pcx::encode>, pcx::statedSize,
     Fidelity::Colours},
    {"tga", Tga, tga::sniff, tga::decode, withoutOptions<tga::encode>, tga::statedSize,
     Fidelity::Exact},
};

bool encodePng(const Image& image, QByteArray& out, QString* error) {
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image.pixels) || failWith(error, writer.errorString());
}

} // namespace

std::span<const Codec> codecs() {
    return kCodecs;
}

const Codec* codecFor(FormatCode format) {
    for (const Codec& codec : kCodecs)
        if (codec.format == format)
            return &codec;
    return nullptr;
}

FormatCode sniffFormat(Bytes head) {
    for (const Codec& codec : kCodecs)
        if (codec.sniff(head))
            return codec.format;
    return None;
}

DecodeResult decodeBytes(Bytes data, const DecodeRequest& request) {
    if (const Codec* codec = codecFor(sniffFormat(data)))
        return codec->decode(data, request);
    return DecodeResult::failure(QStringLiteral("not a supported image type"));
}

DecodeResult decodeFile(const QString& path, const DecodeRequest& request) {
    QString error;
    const auto data = readWholeFile(path, &error);
    if (!data)
        return DecodeResult::failure(error);
    return decodeBytes(data->bytes(), request);
}

bool encodeImage(const Image& image, FormatCode format, const EncodeOptions& options,
                 QByteArray& out, QString* error) {
    if (const Codec* codec = codecFor(format))
        return codec->encode(image, options, out, error);
    if (format == PngOutput)
        return encodePng(image, out, error);
    return failWith(error, QStringLiteral("unknown save format"));
}

bool saveImageFile(const Image& image, const QString& path, FormatCode format,
                   const EncodeOptions& options, QString* error) {
    QByteArray bytes;
    if (!encodeImage(image, format, options, bytes, error))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return failWith(error, out.errorString());
    return true;
}

} // namespace dovi::imaging
