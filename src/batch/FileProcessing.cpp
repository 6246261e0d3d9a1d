#include "batch/FileProcessing.h"

#include "batch/FitRule.h"
#include "batch/ProcessOptions.h"
#include "imaging/Codecs.h"
#include "imaging/LargeBuffers.h"
#include "imaging/ops/Resample.h"

#include "platform/FileResult.h"
#include "platform/NativePath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::batch {

using imaging::Bytes;

SourceRead readSource(const QString& path) {
    SourceRead out;
    const int fd = ::open(platform::nativePath(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        out.error = platform::FileResult::fromErrno(errno).reason;
        return out;
    }
    struct stat facts {};
    if (::fstat(fd, &facts) == 0 && !S_ISREG(facts.st_mode))
        out.notRegular = true;
    out.data = imaging::readWholeFile(fd, &out.error, &facts);
    ::close(fd);
    if (out.data)
        out.stamp = platform::stampFrom(facts);
    return out;
}

QString potentialOutputPath(const QString& source, const ProcessOptions& options) {
    return outputFor(source, imaging::None, options).path;
}

PreparedFile prepareFile(const QString& source, const ProcessOptions& options) {
    PreparedFile out;
    const SourceRead read = readSource(source);
    if (!read.data) {
        out.kind = PreparedFile::Kind::Failed;
        out.reason = QStringLiteral("could not be read: ") + read.error;
        return out;
    }
    out.source = read.stamp;
    const Bytes bytes = read.data->bytes();
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
        out.partial = decoded.partial;
    }
    return out;
}

} // namespace dovi::batch
