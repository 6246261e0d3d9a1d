#include "imaging/LargeBuffers.h"

#include "imaging/CheckedSize.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::imaging {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// Under AddressSanitizer every buffer comes from the heap, where an overrun is
// caught; a private mapping has no red zones.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHeapOnly = true;
#else
constexpr bool kHeapOnly = false;
#endif
#else
constexpr bool kHeapOnly = false;
#endif

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

std::optional<LargeBuffer> LargeBuffer::allocate(std::size_t size) {
    LargeBuffer buffer;
    if (size < kLargeBufferBytes || kHeapOnly) {
        buffer.data_ = static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1));
        if (!buffer.data_)
            return std::nullopt;
        buffer.size_ = size;
        return buffer;
    }
    // Room to round up to whole huge pages and to align the start to one.
    if (!(CheckedSize(size) + 2 * kHugePage).valid())
        return std::nullopt;
    // Map a huge page more than needed, then give back what lies before the
    // first 2 MiB boundary and after the end, so the whole buffer can be
    // backed by huge pages.
    const std::size_t length = roundUp(size, kHugePage);
    void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return std::nullopt;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, kHugePage);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const std::size_t tail = start + length + kHugePage - (aligned + length);
    if (tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    buffer.mapping_ = reinterpret_cast<void*>(aligned);
    buffer.mappedBytes_ = length;
    buffer.data_ = static_cast<std::uint8_t*>(buffer.mapping_);
    buffer.size_ = size;
    return buffer;
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(other.data_), size_(other.size_), mapping_(other.mapping_),
      mappedBytes_(other.mappedBytes_) {
    other.data_ = nullptr;
    other.mapping_ = nullptr;
    other.size_ = other.mappedBytes_ = 0;
}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        release();
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(mapping_, other.mapping_);
        std::swap(mappedBytes_, other.mappedBytes_);
    }
    return *this;
}

LargeBuffer::~LargeBuffer() {
    release();
}

void LargeBuffer::release() {
    if (mapping_)
        ::munmap(mapping_, mappedBytes_);
    else
        std::free(data_);
    data_ = nullptr;
    mapping_ = nullptr;
    size_ = mappedBytes_ = 0;
}

QImage allocateImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0)
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const CheckedSize lineBytes = packedBytes(width, depth, 4);
    const CheckedSize total = lineBytes * height;
    if (!lineBytes.fits(INT_MAX) || !total.valid())
        return {};
    if (total.value() < kLargeBufferBytes || kHeapOnly)
        return QImage(width, height, format);
    auto buffer = LargeBuffer::allocate(total.value());
    if (!buffer)
        return {};
    auto* owner = new LargeBuffer(std::move(*buffer));
    return QImage(
        owner->data(), width, height, qsizetype(lineBytes.value()), format,
        [](void* info) { delete static_cast<LargeBuffer*>(info); }, owner);
}

std::optional<LargeBuffer> readWholeFile(const QString& path, QString* error,
                                         struct stat* factsOut) {
    // Non-blocking, so that a FIFO given a picture's name cannot hang the
    // open; only regular files are read.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        *error = systemError(errno);
        return std::nullopt;
    }
    auto buffer = readWholeFile(fd, error, factsOut);
    ::close(fd);
    return buffer;
}

std::optional<LargeBuffer> readWholeFile(int fd, QString* error, struct stat* factsOut) {
    struct stat facts {};
    std::optional<LargeBuffer> buffer;
    if (::fstat(fd, &facts) != 0) {
        *error = systemError(errno);
    } else if (S_ISDIR(facts.st_mode)) {
        *error = systemError(EISDIR);
    } else if (!S_ISREG(facts.st_mode)) {
        *error = QStringLiteral("Not a regular file");
    } else if (facts.st_size > kMaxImageFileBytes) {
        *error = QStringLiteral("The file is too large to be an image");
    } else if (!(buffer = LargeBuffer::allocate(std::size_t(std::max<off_t>(facts.st_size, 0))))) {
        *error = QStringLiteral("Not enough memory to read the file");
    } else {
        // A file that shrinks meanwhile gives what it still holds.
        std::size_t done = 0;
        while (done < buffer->size()) {
            const ssize_t got = ::read(fd, buffer->data() + done, buffer->size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                *error = systemError(errno);
                buffer.reset();
                break;
            }
            if (got == 0)
                break;
            done += std::size_t(got);
        }
        if (buffer)
            buffer->shrink(done);
    }
    if (buffer && factsOut)
        *factsOut = facts;
    return buffer;
}

} // namespace dovi::imaging
