#pragma once
// Buffers of many megabytes (a whole file, a whole picture) get a mapping of
// their own, advised for huge pages: the kernel then backs them 2 MiB at a
// time instead of trapping on every 4 KiB page. Page faults on fresh buffers
// were a third of a batch conversion's time; with huge pages they vanish.
// Smaller buffers come from the heap as usual.
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct stat;

namespace dovi::imaging {

// Below this, the heap's own pages are cheap enough.
inline constexpr std::size_t kLargeBufferBytes = std::size_t(4) << 20;

// No picture within the decoders' caps needs a bigger file (120 million
// 32-bit pixels are 458 MiB); anything larger is refused unread, so no file
// can make a read take a gigabyte.
inline constexpr qint64 kMaxImageFileBytes = qint64(512) << 20;

// A zero-filled byte buffer that owns its memory. Moves, never copies.
class LargeBuffer {
public:
    LargeBuffer() = default;
    // A buffer of size bytes; empty when memory is short.
    static std::optional<LargeBuffer> allocate(std::size_t size);
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;
    ~LargeBuffer();

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Keeps the first size bytes; the memory stays until the buffer goes.
    void shrink(std::size_t size) { size_ = size < size_ ? size : size_; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

private:
    void release();
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr; // null when the bytes come from the heap
    std::size_t mappedBytes_ = 0;
};

// A picture whose pixels live in such a buffer when they are large; a null
// image when memory is short. The pixels are not cleared.
QImage allocateImage(int width, int height, QImage::Format format);

// The whole of a file, read (never mapped: a file cut short by another program
// while it is decoded must give a short read, not a bus error). Empty with the
// reason in error when it cannot be read. facts, when given, receives the
// status of the very file that was read.
std::optional<LargeBuffer> readWholeFile(const QString& path, QString* error,
                                         struct stat* facts = nullptr);
// The same for a file the caller opened (non-blocking is best: a FIFO is
// refused, not waited on). The descriptor stays open.
std::optional<LargeBuffer> readWholeFile(int fd, QString* error, struct stat* facts = nullptr);

} // namespace dovi::imaging
