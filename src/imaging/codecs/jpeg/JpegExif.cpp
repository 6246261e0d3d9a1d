#include "imaging/codecs/jpeg/JpegExif.h"

#include <algorithm>
#include <cstring>

namespace dovi::imaging::jpeg::exif {

namespace {

constexpr char kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t kTiffStart = sizeof kSignature;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::size_t kEntrySize = 12;

// IFD0 of the TIFF structure inside an EXIF payload.
struct Ifd0 {
    bool bigEndian = false;
    std::size_t entries = 0;  // offset of the first entry in the payload
    std::size_t count = 0;    // entries that lie wholly inside the payload
    std::size_t nextLink = 0; // offset of the next-IFD link, 0 when cut off
};

std::uint32_t read(Bytes b, std::size_t at, int size, bool bigEndian) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        const std::uint32_t byte = b[at + static_cast<std::size_t>(bigEndian ? i : size - 1 - i)];
        v = (v << 8) | byte;
    }
    return v;
}

void write(std::uint8_t* p, std::uint32_t v, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        p[i] = static_cast<std::uint8_t>(v >> shift);
    }
}

bool locate(Bytes app1, Ifd0& ifd) {
    if (!isExif(app1) || app1.size() < kTiffStart + 8)
        return false;
    const Bytes tiff = app1.subspan(kTiffStart);
    if (tiff[0] == 'I' && tiff[1] == 'I')
        ifd.bigEndian = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        ifd.bigEndian = true;
    else
        return false;
    if (read(tiff, 2, 2, ifd.bigEndian) != 42)
        return false;
    const CheckedSize at = read(tiff, 4, 4, ifd.bigEndian);
    const CheckedSize firstEntry = at + 2;
    if (at.value() < 8 || !firstEntry.fits(tiff.size()))
        return false;
    const std::size_t declared = read(tiff, at.value(), 2, ifd.bigEndian);
    const std::size_t room = (CheckedSize(tiff.size()) - firstEntry).value() / kEntrySize;
    ifd.entries = kTiffStart + firstEntry.value();
    ifd.count = std::min(declared, room);
    const CheckedSize link = firstEntry + CheckedSize(declared) * kEntrySize;
    ifd.nextLink = declared <= room && (link + 4).fits(tiff.size()) ? kTiffStart + link.value() : 0;
    return true;
}

// The orientation entry's value width (2 or 4 bytes), or 0 when the entry is
// not an orientation tag of a usable type.
int orientationWidth(Bytes app1, std::size_t entry, bool bigEndian) {
    if (read(app1, entry, 2, bigEndian) != kOrientationTag)
        return 0;
    const auto type = read(app1, entry + 2, 2, bigEndian);
    if (read(app1, entry + 4, 4, bigEndian) < 1)
        return 0;
    return type == kTypeShort ? 2 : type == kTypeLong ? 4 : 0;
}

} // namespace

bool isExif(Bytes app1) {
    return app1.size() >= kTiffStart && std::memcmp(app1.data(), kSignature, kTiffStart) == 0;
}

int orientation(Bytes app1) {
    Ifd0 ifd;
    if (!locate(app1, ifd))
        return 1;
    for (std::size_t i = 0; i < ifd.count; ++i) {
        const std::size_t entry = ifd.entries + i * kEntrySize;
        const int width = orientationWidth(app1, entry, ifd.bigEndian);
        if (width == 0)
            continue;
        const std::uint32_t value = read(app1, entry + 8, width, ifd.bigEndian);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

QByteArray forUprightSave(const QByteArray& app1) {
    QByteArray copy = app1;
    const Bytes view(reinterpret_cast<const std::uint8_t*>(app1.constData()),
                     static_cast<std::size_t>(app1.size()));
    Ifd0 ifd;
    if (!locate(view, ifd))
        return copy;
    auto* bytes = reinterpret_cast<std::uint8_t*>(copy.data());
    for (std::size_t i = 0; i < ifd.count; ++i) {
        const std::size_t entry = ifd.entries + i * kEntrySize;
        const int width = orientationWidth(view, entry, ifd.bigEndian);
        if (width != 0)
            write(bytes + entry + 8, 1, width, ifd.bigEndian);
    }
    if (ifd.nextLink != 0)
        write(bytes + ifd.nextLink, 0, 4, ifd.bigEndian);
    return copy;
}

} // namespace dovi::imaging::jpeg::exif
