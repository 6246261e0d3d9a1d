#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <cstdint>

namespace dovi::imaging {

// Bounds-checked reading over a byte span. A read past the end returns 0 and
// sets the failed flag instead of touching memory; decoders check failed()
// (or remaining()) before trusting what they read.
class ByteReader {
public:
    explicit ByteReader(Bytes data) : data_(data) {}

    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
    bool failed() const { return failed_; }
    bool atEnd() const { return remaining() == 0; }

    bool seek(std::size_t offset) {
        if (offset > data_.size()) {
            failed_ = true;
            return false;
        }
        pos_ = offset;
        return true;
    }
    bool skip(std::size_t n) {
        if (n > remaining()) {
            failed_ = true;
            pos_ = data_.size();
            return false;
        }
        pos_ += n;
        return true;
    }

    std::uint8_t u8() {
        if (remaining() < 1) {
            failed_ = true;
            return 0;
        }
        return data_[pos_++];
    }
    std::uint16_t u16le() {
        const std::uint16_t lo = u8();
        const std::uint16_t hi = u8();
        return static_cast<std::uint16_t>(lo | (hi << 8));
    }
    std::uint32_t u32le() {
        const std::uint32_t lo = u16le();
        const std::uint32_t hi = u16le();
        return lo | (hi << 16);
    }
    std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }

    // A view of the next n bytes, or an empty span (and failed) when fewer remain.
    Bytes take(std::size_t n) {
        if (n > remaining()) {
            failed_ = true;
            pos_ = data_.size();
            return {};
        }
        Bytes out = data_.subspan(pos_, n);
        pos_ += n;
        return out;
    }

private:
    Bytes data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

} // namespace dovi::imaging
