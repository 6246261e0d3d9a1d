#include "imaging/codecs/ByteReader.h"
#include "imaging/codecs/DecodedAlpha.h"
#include "imaging/codecs/tga/TgaCodec.h"
#include "imaging/codecs/tga/TgaHeader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace dovi::imaging::tga {
namespace {

enum class AlphaUse { None, Straight, Premultiplied };

// 5-bit channel to 8 bits, rounded to nearest (24 -> 197, not 198).
constexpr std::array<std::uint8_t, 32> kFiveBits = [] {
    std::array<std::uint8_t, 32> t{};
    for (int v = 0; v < 32; ++v)
        t[v] = static_cast<std::uint8_t>((v * 255 + 15) / 31);
    return t;
}();

QRgb fromFiveBits(unsigned v, bool attributeIsAlpha) {
    const unsigned a = attributeIsAlpha ? ((v & 0x8000u) ? 255u : 0u) : 255u;
    return qRgba(kFiveBits[(v >> 10) & 31], kFiveBits[(v >> 5) & 31], kFiveBits[v & 31], a);
}

// The attribute type of a TGA 2.0 extension area, when the file ends in a
// valid footer that points at one: 0 no alpha, 1 and 2 undefined (ignore),
// 3 alpha, 4 premultiplied alpha.
std::optional<int> extensionAttributeType(Bytes data) {
    constexpr std::size_t kFooter = 26;
    constexpr std::size_t kExtension = 495;
    if (data.size() < kHeaderSize + kFooter)
        return std::nullopt;
    const std::size_t footer = data.size() - kFooter;
    static constexpr char kSignature[] = "TRUEVISION-XFILE."; // 17 chars + NUL = 18
    if (std::memcmp(data.data() + footer + 8, kSignature, sizeof kSignature) != 0)
        return std::nullopt;
    ByteReader in(data);
    in.seek(footer);
    const std::size_t offset = in.u32le();
    if (offset < kHeaderSize || !(CheckedSize(offset) + kExtension).fits(footer))
        return std::nullopt;
    in.seek(offset);
    if (in.u16le() < kExtension)
        return std::nullopt;
    return data[offset + 494];
}

// Whether the picture's alpha is to be shown. A TGA 2.0 extension area, when
// present, decides (it says outright whether the channel is useful); without
// one the descriptor's alpha bit count does. The attribute bit of 16-bit
// pixels is too often left random by writers to be trusted on the descriptor
// alone, so it counts only when an extension area vouches for it.
AlphaUse alphaUse(const Header& h, Bytes data) {
    const bool fiveBits =
        (h.kind() == kTrueColour && h.depth == 16) || (h.kind() == kMapped && h.mapEntryBits == 16);
    const bool carriesAlpha = fiveBits || (h.kind() == kTrueColour && h.depth == 32) ||
                              (h.kind() == kGrey && h.depth == 16) ||
                              (h.kind() == kMapped && h.mapEntryBits == 32);
    if (!carriesAlpha)
        return AlphaUse::None;
    if (const auto type = extensionAttributeType(data)) {
        if (*type == 3)
            return AlphaUse::Straight;
        return *type == 4 ? AlphaUse::Premultiplied : AlphaUse::None;
    }
    return (h.alphaBits() > 0 && !fiveBits) ? AlphaUse::Straight : AlphaUse::None;
}

// Reads the colour map into a table covering every index the pixel depth can
// hold: entries are stored from index mapFirst on, and indexes outside the map
// stay opaque black, so a lookup never leaves the table.
std::vector<QRgb> readColourMap(const Header& h, Bytes entries, bool withAlpha) {
    std::vector<QRgb> table(h.depth == 8 ? 256 : 65536, qRgb(0, 0, 0));
    const int entryBytes = h.mapEntryBytes();
    const int last = std::min<int>(h.mapFirst + h.mapLength, static_cast<int>(table.size()));
    for (int index = h.mapFirst; index < last; ++index) {
        const std::uint8_t* p = entries.data() + std::size_t(index - h.mapFirst) * entryBytes;
        QRgb c;
        if (entryBytes == 2)
            c = fromFiveBits(p[0] | (p[1] << 8), withAlpha);
        else if (entryBytes == 3)
            c = qRgb(p[2], p[1], p[0]);
        else
            c = qRgba(p[2], p[1], p[0], withAlpha ? p[3] : 255);
        table[index] = c;
    }
    return table;
}

// RLE packets may run across row ends, so the packet state outlives a row.
class RleStream {
public:
    RleStream(ByteReader& in, int pixelBytes) : in_(in), pixelBytes_(pixelBytes) {}

    // Fills out with count pixels; false when the data ran out first.
    bool fill(std::uint8_t* out, int count) {
        while (count > 0) {
            if (pending_ == 0) {
                if (in_.atEnd())
                    return false;
                const std::uint8_t packet = in_.u8();
                pending_ = (packet & 0x7f) + 1;
                repeat_ = (packet & 0x80) != 0;
                if (repeat_) {
                    const Bytes v = in_.take(pixelBytes_);
                    if (v.empty())
                        return false;
                    std::memcpy(value_.data(), v.data(), pixelBytes_);
                }
            }
            const int n = std::min(pending_, count);
            const std::size_t bytes = std::size_t(n) * pixelBytes_;
            if (repeat_) {
                for (int i = 0; i < n; ++i)
                    std::memcpy(out + std::size_t(i) * pixelBytes_, value_.data(), pixelBytes_);
            } else {
                const Bytes v = in_.take(bytes);
                if (v.empty())
                    return false;
                std::memcpy(out, v.data(), bytes);
            }
            out += bytes;
            count -= n;
            pending_ -= n;
        }
        return true;
    }

private:
    ByteReader& in_;
    int pixelBytes_;
    int pending_ = 0;
    bool repeat_ = false;
    std::array<std::uint8_t, 4> value_{};
};

// One row of stored pixels to ARGB values, left to right as stored.
void convertRow(const Header& h, const std::uint8_t* src, QRgb* out, const QRgb* map, bool alpha) {
    const int w = h.width;
    if (h.kind() == kMapped) {
        if (h.depth == 8) {
            for (int x = 0; x < w; ++x)
                out[x] = map[src[x]];
        } else {
            for (int x = 0; x < w; ++x)
                out[x] = map[src[2 * x] | (src[2 * x + 1] << 8)];
        }
        return;
    }
    if (h.kind() == kGrey) {
        if (h.depth == 8) {
            for (int x = 0; x < w; ++x)
                out[x] = qRgb(src[x], src[x], src[x]);
        } else {
            for (int x = 0; x < w; ++x) {
                const int g = src[2 * x];
                out[x] = qRgba(g, g, g, alpha ? src[2 * x + 1] : 255);
            }
        }
        return;
    }
    switch (h.depth) {
    case 15:
    case 16:
        for (int x = 0; x < w; ++x)
            out[x] = fromFiveBits(src[2 * x] | (src[2 * x + 1] << 8), alpha);
        break;
    case 24:
        for (int x = 0; x < w; ++x, src += 3)
            out[x] = qRgb(src[2], src[1], src[0]);
        break;
    default:
        if (alpha) {
            for (int x = 0; x < w; ++x, src += 4)
                out[x] = qRgba(src[2], src[1], src[0], src[3]);
        } else {
            for (int x = 0; x < w; ++x, src += 4)
                out[x] = qRgb(src[2], src[1], src[0]);
        }
        break;
    }
}

QString checkHeader(const Header& h) {
    if (h.colourMapType > 1)
        return QStringLiteral("unknown colour map type %1").arg(h.colourMapType);
    if (!knownImageType(h.imageType))
        return QStringLiteral("unsupported image type %1").arg(h.imageType);
    if (!knownDepth(h.kind(), h.depth))
        return QStringLiteral("unsupported pixel depth %1").arg(h.depth);
    if (h.kind() == kMapped) {
        if (h.colourMapType != 1 || h.mapLength == 0)
            return QStringLiteral("colour-mapped picture without a colour map");
        if (!knownMapEntryBits(h.mapEntryBits))
            return QStringLiteral("unsupported colour map entry size %1").arg(h.mapEntryBits);
    }
    if (h.width == 0 || h.height == 0)
        return QStringLiteral("zero width or height");
    if (!dimensionsAllowed(h.width, h.height))
        return QStringLiteral("picture too large (%1 x %2)").arg(h.width).arg(h.height);
    return {};
}

} // namespace

bool sniff(Bytes head) {
    if (head.size() < std::size_t(kHeaderSize))
        return false;
    ByteReader in(head);
    const Header h = readHeader(in);
    if (!checkHeader(h).isEmpty())
        return false;
    // An unused map still has to be skippable: its entry size must be sane.
    return h.colourMapType == 0 || h.mapLength == 0 || (h.mapEntryBits > 0 && h.mapEntryBits <= 32);
}

QSize statedSize(Bytes data) {
    if (data.size() < std::size_t(kHeaderSize))
        return {};
    ByteReader in(data);
    const Header h = readHeader(in);
    return QSize(h.width, h.height);
}

DecodeResult decode(Bytes data, const DecodeRequest&) {
    if (data.size() < std::size_t(kHeaderSize))
        return DecodeResult::failure(QStringLiteral("file too short for a TGA header"));
    ByteReader in(data);
    const Header h = readHeader(in);
    if (const QString why = checkHeader(h); !why.isEmpty())
        return DecodeResult::failure(why);
    if (!in.skip(h.idLength))
        return DecodeResult::failure(QStringLiteral("image ID past the end of the file"));

    const AlphaUse use = alphaUse(h, data);
    const bool alpha = use != AlphaUse::None;
    std::vector<QRgb> map;
    if (h.colourMapType == 1) {
        if (h.mapLength > 0 && (h.mapEntryBits == 0 || h.mapEntryBits > 32))
            return DecodeResult::failure(QStringLiteral("bad colour map entry size"));
        const Bytes entries = in.take((CheckedSize(h.mapLength) * h.mapEntryBytes()).value());
        if (in.failed())
            return DecodeResult::failure(QStringLiteral("colour map past the end of the file"));
        if (h.kind() == kMapped)
            map = readColourMap(h, entries, alpha);
    }

    // Truncated data: rows are stored one after the other and each is shown
    // only once complete; rows never reached (and one cut short) stay black.
    // The decode fails when not even one whole row arrived, checked before the
    // picture is allocated.
    const int pixelBytes = h.bytesPerPixel();
    const std::size_t rowBytes = (CheckedSize(h.width) * pixelBytes).value();
    std::vector<std::uint8_t> rowBuffer(h.rle() ? rowBytes : 0);
    RleStream rle(in, pixelBytes);
    auto nextRow = [&]() -> const std::uint8_t* {
        if (h.rle())
            return rle.fill(rowBuffer.data(), h.width) ? rowBuffer.data() : nullptr;
        const Bytes row = in.take(rowBytes);
        return row.empty() ? nullptr : row.data();
    };
    const std::uint8_t* src = nextRow();
    if (!src)
        return DecodeResult::failure(QStringLiteral("no complete row of pixel data"));

    QImage pixels = allocatePixels(h.width, h.height, alpha);
    if (pixels.isNull())
        return DecodeResult::failure(QStringLiteral("not enough memory for the picture"));
    AlphaSeen alphaSeen;
    int row = 0;
    for (; row < h.height && src; ++row, src = row < h.height ? nextRow() : nullptr) {
        const int y = h.topDown() ? row : h.height - 1 - row;
        auto* out = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        convertRow(h, src, out, map.data(), alpha);
        if (h.rightToLeft())
            std::reverse(out, out + h.width);
        if (alpha)
            alphaSeen.addRow(out, h.width);
    }
    if (alpha && !alphaSeen.meaningful())
        makeOpaque(pixels);
    else if (use == AlphaUse::Premultiplied)
        unpremultiply(pixels);

    DecodeResult result;
    result.image.pixels = std::move(pixels);
    result.image.format = Tga;
    result.image.bitsPerPixel = h.depth;
    result.image.sourceHadPalette = h.kind() == kMapped;
    result.image.fileSize = qint64(data.size());
    result.fullWidth = h.width;
    result.fullHeight = h.height;
    result.partial = row < h.height;
    return result;
}

} // namespace dovi::imaging::tga
