#include "batch/WorkFootprint.h"

#include "batch/FitRule.h"
#include "batch/ProcessOptions.h"
#include "imaging/Codecs.h"
#include "platform/NativePath.h"
#include "platform/SystemMemory.h"

#include <QSize>

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::batch {

namespace {

constexpr qint64 kBytesPerPixel = 4;

// Reads count bytes at offset; fewer at the end of the file.
int readAt(int fd, qint64 offset, std::uint8_t* out, int count) {
    const ssize_t got = ::pread(fd, out, size_t(count), off_t(offset));
    return got < 0 ? 0 : int(got);
}

unsigned le16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
unsigned be16(const std::uint8_t* p) {
    return (p[0] << 8) | p[1];
}
qint64 le32s(const std::uint8_t* p) {
    return qint32(p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24));
}

// The frame size of a JPEG: the first start-of-frame marker, found by
// walking the segments from the start of the file.
QSize jpegSize(int fd) {
    qint64 at = 2;
    for (int segments = 0; segments < 1000; ++segments) {
        std::array<std::uint8_t, 9> m{};
        if (readAt(fd, at, m.data(), 4) < 4 || m[0] != 0xFF)
            return {};
        const int marker = m[1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (readAt(fd, at, m.data(), 9) < 9)
                return {};
            return QSize(int(be16(&m[7])), int(be16(&m[5])));
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        at += 2 + be16(&m[2]);
    }
    return {};
}

QSize headerSize(int fd, imaging::FormatCode format, const std::uint8_t* head, int length) {
    switch (format) {
    case imaging::Jpeg:
        return jpegSize(fd);
    case imaging::Bmp:
        if (length >= 26 && le32s(head + 14) == 12)
            return QSize(int(le16(head + 18)), int(le16(head + 20)));
        if (length >= 26)
            return QSize(int(std::min<qint64>(le32s(head + 18), imaging::kMaxSide + 1)),
                         int(std::min<qint64>(std::abs(le32s(head + 22)), imaging::kMaxSide + 1)));
        return {};
    case imaging::Pcx:
        if (length >= 12)
            return QSize(int(le16(head + 8)) - int(le16(head + 4)) + 1,
                         int(le16(head + 10)) - int(le16(head + 6)) + 1);
        return {};
    case imaging::Tga:
        if (length >= 16)
            return QSize(int(le16(head + 12)), int(le16(head + 14)));
        return {};
    default:
        return {};
    }
}

// Pixels a JPEG decode for the box holds: the largest DCT reduction that
// still covers the box either way up (the picture may be turned upright).
qint64 jpegDecodedPixels(QSize size, QSize box) {
    const auto covers = [&](int denom) {
        const auto up = [denom](int side) { return (side + denom - 1) / denom; };
        const bool upright = up(size.width()) >= box.width() && up(size.height()) >= box.height();
        const bool turned = up(size.height()) >= box.width() && up(size.width()) >= box.height();
        return upright && turned;
    };
    for (int denom : {8, 4, 2}) {
        if (covers(denom)) {
            const qint64 w = (size.width() + denom - 1) / denom;
            const qint64 h = (size.height() + denom - 1) / denom;
            return w * h;
        }
    }
    return qint64(size.width()) * size.height();
}

} // namespace

qint64 preparationFootprint(const QString& path, const ProcessOptions& options) {
    const int fd = ::open(platform::nativePath(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat facts {};
    qint64 bytes = 0;
    if (::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode)) {
        bytes = facts.st_size;
        std::array<std::uint8_t, 1024> head{};
        const int length = readAt(fd, 0, head.data(), int(head.size()));
        const imaging::FormatCode format =
            imaging::sniffFormat(imaging::Bytes(head.data(), std::size_t(length)));
        const QSize size = headerSize(fd, format, head.data(), length);
        // A size past the decoders' caps is refused before any pixel is made.
        if (size.width() > 0 && size.height() > 0 &&
            imaging::dimensionsAllowed(size.width(), size.height())) {
            const qint64 full = qint64(size.width()) * size.height();
            const bool boxDecode = format == imaging::Jpeg && !options.convertOnly;
            const qint64 decoded = boxDecode ? jpegDecodedPixels(size, options.box) : full;
            const auto scaled =
                scalingFor(size, options.box, options.convertOnly, options.resampleUpDown);
            const qint64 output = scaled ? qint64(scaled->width()) * scaled->height() : full;
            // The output picture and its file, which an uncompressed format
            // makes as large as the picture.
            bytes += (decoded + 2 * output) * kBytesPerPixel;
        }
    }
    ::close(fd);
    return bytes;
}

qint64 defaultMemoryBudget() {
    constexpr qint64 kLeast = qint64(256) << 20;
    constexpr qint64 kMost = qint64(4) << 30;
    return std::clamp(platform::physicalMemoryBytes() / 4, kLeast, kMost);
}

} // namespace dovi::batch
