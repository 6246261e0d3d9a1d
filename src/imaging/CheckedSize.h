#pragma once
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace dovi::imaging {

// A byte count, pixel count or file offset computed without wrapping. Every
// buffer size and every offset a header states goes through it: a negative
// input, or a sum or product past what a pointer difference can hold, gives
// an invalid size, which stays invalid through later steps and fits nowhere.
class CheckedSize {
public:
    static constexpr std::uint64_t kLargest = std::numeric_limits<std::ptrdiff_t>::max();

    constexpr CheckedSize() = default;
    template <std::integral T> constexpr CheckedSize(T value) {
        if constexpr (std::is_signed_v<T>) {
            if (value < 0)
                return;
        }
        if (std::uint64_t(value) <= kLargest) {
            value_ = std::uint64_t(value);
            valid_ = true;
        }
    }

    constexpr bool valid() const { return valid_; }
    // The size; only meaningful when valid.
    constexpr std::size_t value() const { return std::size_t(value_); }
    // Valid and at most limit: the size can be taken from (or made into) a
    // buffer of limit bytes.
    constexpr bool fits(CheckedSize limit) const {
        return valid_ && limit.valid_ && value_ <= limit.value_;
    }

    friend constexpr CheckedSize operator+(CheckedSize a, CheckedSize b) {
        std::uint64_t sum = 0;
        if (!a.valid_ || !b.valid_ || __builtin_add_overflow(a.value_, b.value_, &sum))
            return {};
        return CheckedSize(sum);
    }
    friend constexpr CheckedSize operator*(CheckedSize a, CheckedSize b) {
        std::uint64_t product = 0;
        if (!a.valid_ || !b.valid_ || __builtin_mul_overflow(a.value_, b.value_, &product))
            return {};
        return CheckedSize(product);
    }
    // What remains of a after b is taken away; invalid below zero.
    friend constexpr CheckedSize operator-(CheckedSize a, CheckedSize b) {
        if (!a.valid_ || !b.valid_ || b.value_ > a.value_)
            return {};
        return CheckedSize(a.value_ - b.value_);
    }

private:
    std::uint64_t value_ = 0;
    bool valid_ = false;
};

// Bytes holding count items of bitsEach bits each, rounded up to a multiple
// of alignBytes: a row of packed pixels (alignBytes 1), or one padded to 4
// bytes as BMP files and QImage store them.
constexpr CheckedSize packedBytes(CheckedSize count, int bitsEach, int alignBytes = 1) {
    const CheckedSize bits = count * CheckedSize(bitsEach);
    const CheckedSize alignBits = CheckedSize(alignBytes) * 8;
    if (!bits.valid() || !alignBits.valid() || alignBits.value() == 0)
        return {};
    const std::size_t units = (bits.value() + alignBits.value() - 1) / alignBits.value();
    return CheckedSize(units) * CheckedSize(alignBytes);
}

} // namespace dovi::imaging
