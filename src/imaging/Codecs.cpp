#include "imaging/Codecs.h"

#include "imaging/LargeBuffers.h"
#include "imaging/codecs/BmpCodec.h"
#include "imaging/codecs/JpegCodec.h"
#include "imaging/codecs/PcxCodec.h"
#include "imaging/codecs/TgaCodec.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

namespace dovi::imaging {

FormatCode sniffFormat(Bytes head, const QString& fileName) {
    if (jpeg::sniff(head))
        return Jpeg;
    if (bmp::sniff(head))
        return Bmp;
    if (pcx::sniff(head))
        return Pcx;
    if (tga::sniff(head))
        return Tga;
    Q_UNUSED(fileName);
    return None;
}

DecodeResult decodeBytes(Bytes data, const QString& fileName, const DecodeRequest& request) {
    switch (sniffFormat(data, fileName)) {
    case Jpeg:
        return jpeg::decode(data, request);
    case Bmp:
        return bmp::decode(data, request);
    case Pcx:
        return pcx::decode(data, request);
    case Tga:
        return tga::decode(data, request);
    default:
        return DecodeResult::failure(QStringLiteral("not a supported image type"));
    }
}

DecodeResult decodeFile(const QString& path, const DecodeRequest& request) {
    QString error;
    const auto data = readWholeFile(path, &error);
    if (!data)
        return DecodeResult::failure(error);
    return decodeBytes(data->bytes(), path, request);
}

bool encodeImage(const Image& image, FormatCode format, const EncodeOptions& options,
                 QByteArray& out, QString* error) {
    switch (format) {
    case Jpeg:
        return jpeg::encode(image, {options.jpegLuminanceFactor, options.jpegChrominanceFactor},
                            out, error);
    case Bmp:
        return bmp::encode(image, out, error);
    case Pcx:
        return pcx::encode(image, out, error);
    case Tga:
        return tga::encode(image, out, error);
    case PngOutput: {
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (writer.write(image.pixels))
            return true;
        if (error)
            *error = writer.errorString();
        return false;
    }
    default:
        if (error)
            *error = QStringLiteral("unknown save format");
        return false;
    }
}

bool saveImageFile(const Image& image, const QString& path, FormatCode format,
                   const EncodeOptions& options, QString* error) {
    QByteArray bytes;
    if (!encodeImage(image, format, options, bytes, error))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace dovi::imaging
