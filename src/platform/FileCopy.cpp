#include "platform/FileCopy.h"

#include "platform/NativePath.h"

#include <QFile>

#include <atomic>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::platform {

namespace {

// copy_file_range moves this much per call: large enough that the kernel does
// the work in few calls, small enough that an error shows up early.
constexpr size_t kKernelChunk = size_t(64) << 20;
constexpr size_t kBufferSize = size_t(1) << 20;

// Owns a file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; some file systems report a failed write-back only here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Returns 0 or the errno of the failing call.
int copyByReadWrite(int in, int out) {
    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    for (;;) {
        ssize_t got = ::read(in, buffer.get(), kBufferSize);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        const char* p = buffer.get();
        while (got > 0) {
            const ssize_t put = ::write(out, p, size_t(got));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            p += put;
            got -= put;
        }
    }
}

bool kernelCopyUnsupported(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF || error == EPERM || error == ETXTBSY;
}

// Copies from the start of in to the start of out by the fastest way the file
// systems offer. Returns 0 or an errno.
int copyData(int in, int out, off_t sourceSize) {
    if (::ioctl(out, FICLONE, in) == 0)
        return 0;
    bool copiedAny = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kKernelChunk, 0);
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        if (n == 0) {
            // Some pseudo file systems claim an empty file that read() fills.
            if (!copiedAny && sourceSize > 0)
                return copyByReadWrite(in, out);
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (!copiedAny && kernelCopyUnsupported(errno))
            return copyByReadWrite(in, out);
        return errno;
    }
}

// renameat2 with RENAME_NOREPLACE; where the file system cannot do that, a
// hard link, which never replaces either. Returns 0, or -1 with errno set.
int renameWithoutReplacing(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return -1;
    if (::link(from, to) != 0)
        return -1;
    if (::unlink(from) == 0)
        return 0;
    const int error = errno;
    ::unlink(to);
    errno = error;
    return -1;
}

FileResult sameFileFailure() {
    return FileResult::failed(QStringLiteral("the target is the source file itself"));
}

// Where a copy's bytes go: straight into the target when no file has that
// name (created exclusively, so nothing existing is touched), otherwise into a
// temporary file in the target's folder that replaces it only once complete.
// Either is removed again unless published.
class CopyOutput {
public:
    explicit CopyOutput(const QByteArray& target) {
        fd_ = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        openError_ = fd_ < 0 ? errno : 0;
        if (fd_ >= 0 || openError_ != EEXIST) {
            name_ = target;
            direct_ = true;
            return;
        }
        const int slash = target.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
        name_ = folder + (folder.endsWith('/') ? "" : "/") + ".dovi-copy-XXXXXX";
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        openError_ = fd_ < 0 ? errno : 0;
    }
    ~CopyOutput() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!published_ && created_())
            ::unlink(name_.constData());
    }
    CopyOutput(const CopyOutput&) = delete;
    CopyOutput& operator=(const CopyOutput&) = delete;

    int fd() const { return fd_; }
    int openError() const { return openError_; }
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        closed_ = true;
        return result;
    }
    // Puts the finished copy in place; 0 or -1 with errno set.
    int publish(const QByteArray& target, Overwrite overwrite) {
        const int placed = direct_ ? 0
                           : overwrite == Overwrite::Replace
                               ? ::rename(name_.constData(), target.constData())
                               : renameWithoutReplacing(name_.constData(), target.constData());
        published_ = placed == 0;
        return placed;
    }

private:
    bool created_() const { return fd_ >= 0 || closed_; }

    QByteArray name_;
    int fd_ = -1;
    int openError_ = 0;
    bool direct_ = false;
    bool closed_ = false;
    bool published_ = false;
};

std::atomic<int> syncs{0};

int syncFile(int fd) {
    ++syncs;
    return ::fsync(fd);
}

// Flushes the folder holding path, so that a name just put there survives a
// power cut. File systems that cannot flush a folder (EINVAL) keep names
// safe by other means. Returns 0 or an errno.
int syncFolderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return errno;
    if (syncFile(dir.get()) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

enum class Durability { PageCache, Disk };

FileResult copyFileTo(const QString& source, const QString& target, Overwrite overwrite,
                      Durability durability);

} // namespace

int fileSyncCount() {
    return syncs.load();
}

bool isSameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(nativePath(a).constData(), &sa) == 0 &&
           ::stat(nativePath(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

FileResult copyFile(const QString& source, const QString& target, Overwrite overwrite) {
    // A copy that replaces a file goes to disk before it takes the old one's
    // place: renamed over it while still only in memory, a power cut could
    // leave neither. A new file beside its source needs no such care.
    struct stat existing {};
    const bool replacing =
        overwrite == Overwrite::Replace && ::lstat(nativePath(target).constData(), &existing) == 0;
    return copyFileTo(source, target, overwrite,
                      replacing ? Durability::Disk : Durability::PageCache);
}

namespace {

FileResult copyFileTo(const QString& source, const QString& target, Overwrite overwrite,
                      Durability durability) {
    const QByteArray from = nativePath(source);
    const QByteArray to = nativePath(target);

    // Non-blocking so that a FIFO in the list cannot hang the open.
    Descriptor in(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.valid())
        return FileResult::fromErrno(errno);
    struct stat src {};
    if (::fstat(in.get(), &src) != 0)
        return FileResult::fromErrno(errno);
    if (S_ISDIR(src.st_mode))
        return FileResult::fromErrno(EISDIR);
    if (!S_ISREG(src.st_mode))
        return FileResult::failed(QStringLiteral("not a regular file"));
    ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK);

    struct stat dst {};
    if (::stat(to.constData(), &dst) == 0) {
        if (S_ISDIR(dst.st_mode))
            return FileResult::fromErrno(EISDIR);
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
            return sameFileFailure();
    }
    if (overwrite == Overwrite::Never && ::lstat(to.constData(), &dst) == 0)
        return FileResult::fromErrno(EEXIST);

    CopyOutput temp(to);
    if (temp.fd() < 0)
        return FileResult::fromErrno(temp.openError());
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    if (const int error = copyData(in.get(), temp.fd(), src.st_size))
        return FileResult::fromErrno(error);

    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    if (::fchmod(temp.fd(), src.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID)) != 0 ||
        ::futimens(temp.fd(), times) != 0)
        return FileResult::fromErrno(errno);
    if (durability == Durability::Disk && syncFile(temp.fd()) != 0)
        return FileResult::fromErrno(errno);
    if (temp.close() != 0)
        return FileResult::fromErrno(errno);

    if (temp.publish(to, overwrite) != 0)
        return FileResult::fromErrno(errno);
    if (durability == Durability::Disk) {
        if (const int error = syncFolderOf(to))
            return FileResult::failed(
                QStringLiteral("copied, but the copy could not be flushed to disk (") +
                    FileResult::fromErrno(error).reason + QLatin1Char(')'),
                error);
    }
    return FileResult::done();
}

} // namespace

FileResult moveFile(const QString& source, const QString& target, Overwrite overwrite) {
    const QByteArray from = nativePath(source);
    const QByteArray to = nativePath(target);

    struct stat src {};
    if (::lstat(from.constData(), &src) != 0)
        return FileResult::fromErrno(errno);
    if (S_ISDIR(src.st_mode))
        return FileResult::fromErrno(EISDIR);
    struct stat dst {};
    if (::stat(to.constData(), &dst) == 0 && S_ISDIR(dst.st_mode))
        return FileResult::fromErrno(EISDIR);
    if (isSameFile(source, target))
        return sameFileFailure();
    if (::lstat(to.constData(), &dst) == 0 && overwrite == Overwrite::Never)
        return FileResult::fromErrno(EEXIST);

    const int renamed = overwrite == Overwrite::Replace
                            ? ::rename(from.constData(), to.constData())
                            : renameWithoutReplacing(from.constData(), to.constData());
    if (renamed == 0)
        return FileResult::done();
    if (errno != EXDEV)
        return FileResult::fromErrno(errno);

    // Another file system: the source goes only once its copy is on disk,
    // file and folder entry both, so a power cut or a pulled stick right after
    // the move finds the file in one place or the other.
    const FileResult copied = copyFileTo(source, target, overwrite, Durability::Disk);
    if (!copied.ok)
        return copied;
    if (::unlink(from.constData()) != 0)
        return FileResult::failed(
            QStringLiteral("copied, but the original could not be removed (") +
            FileResult::fromErrno(errno).reason + QLatin1Char(')'));
    return FileResult::done();
}

FileResult deleteFile(const QString& path) {
    if (::unlink(nativePath(path).constData()) != 0)
        return FileResult::fromErrno(errno);
    return FileResult::done();
}

FileResult renameNoReplace(const QString& from, const QString& to) {
    const QByteArray oldName = nativePath(from);
    const QByteArray newName = nativePath(to);
    if (renameWithoutReplacing(oldName.constData(), newName.constData()) == 0)
        return FileResult::done();
    const int error = errno;
    if (error == EEXIST && oldName != newName) {
        // A case-insensitive file system finds the file itself under its new
        // spelling: one entry (a single link), same inode. Renaming it then
        // replaces nothing. Two hard links to one file are two names and stay.
        struct stat a {};
        struct stat b {};
        if (::lstat(oldName.constData(), &a) == 0 && ::lstat(newName.constData(), &b) == 0 &&
            a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_nlink == 1) {
            if (::rename(oldName.constData(), newName.constData()) == 0)
                return FileResult::done();
            return FileResult::fromErrno(errno);
        }
    }
    return FileResult::fromErrno(error);
}

} // namespace dovi::platform
