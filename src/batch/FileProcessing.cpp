#include "batch/FileProcessing.h"

#include "batch/FitRule.h"
#include "batch/ProcessOptions.h"
#include "imaging/Codecs.h"
#include "imaging/LargeBuffers.h"
#include "imaging/ops/Resample.h"

#include <QFile>

#include <sys/stat.h>

namespace dovi::batch {

using imaging::Bytes;

namespace {
SourceStamp stampFrom(const struct stat& st) {
    SourceStamp s;
    s.exists = true;
    s.size = st.st_size;
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    return s;
}
} // namespace

SourceStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampFrom(st);
}

QString potentialOutputPath(const QString& source, const ProcessOptions& options) {
    return outputFor(source, imaging::None, options).path;
}

PreparedFile prepareFile(const QString& source, const ProcessOptions& options) {
    PreparedFile out;
    QString readError;
    struct stat st {};
    const auto data = imaging::readWholeFile(source, &readError, &st);
    if (!data) {
        out.kind = PreparedFile::Kind::Failed;
        out.reason = QStringLiteral("could not be read: ") + readError;
        return out;
    }
    out.source = stampFrom(st);
    const Bytes bytes = data->bytes();
    if (imaging::sniffFormat(bytes) == imaging::None)
        return out; // Unsupported

    // A decoder that can shrink cheaply (JPEG) may hand back a picture that
    // still covers the box; the resample below makes the exact size.
    imaging::DecodeRequest request;
    if (!options.convertOnly)
        request.fitBox = options.box;
    imaging::DecodeResult decoded = imaging::decodeBytes(bytes, request);
    if (!decoded.ok()) {
        out.kind = PreparedFile::Kind::Failed;
        out.reason = QStringLiteral("could not be read: ") + decoded.error;
        return out;
    }
    imaging::Image& image = decoded.image;
    const QSize fullSize(decoded.fullWidth, decoded.fullHeight);
    const auto scaling =
        scalingFor(fullSize, options.box, options.convertOnly, options.resampleUpDown);
    if (scaling) {
        QImage scaled = imaging::ops::resample(image.pixels, scaling->width(), scaling->height());
        if (scaled.isNull()) {
            out.kind = PreparedFile::Kind::Failed;
            out.reason = QStringLiteral("could not be resampled");
            return out;
        }
        image.pixels = std::move(scaled);
        out.kind = PreparedFile::Kind::Marked;
    } else if (options.convertOnly) {
        out.kind = PreparedFile::Kind::Marked;
    } else {
        out.kind = PreparedFile::Kind::NotRequired;
        if (image.pixels.size() != fullSize) {
            // A box decode that turned out unnecessary: the alternate-format save
            // below must write the whole picture, so decode it again at full size.
            decoded = imaging::decodeBytes(bytes);
            if (!decoded.ok()) {
                out.kind = PreparedFile::Kind::Failed;
                out.reason = QStringLiteral("could not be read: ") + decoded.error;
                return out;
            }
        }
    }

    if (out.kind == PreparedFile::Kind::Marked || options.altSaveFormatOn) {
        out.target = outputFor(source, image.format, options);
        QString error;
        if (!imaging::encodeImage(image, out.target.format,
                                  {options.jpegLuminance, options.jpegChrominance}, out.bytes,
                                  &error)) {
            out.kind = PreparedFile::Kind::Failed;
            out.reason = QStringLiteral("could not be encoded: ") + error;
            out.bytes.clear();
            return out;
        }
        out.save = true;
    }
    return out;
}

} // namespace dovi::batch
