#include "platform/AtomicWrite.h"

#include "platform/NativePath.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::platform {

namespace {

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A new, empty file with a name of its own in folder: -1 with errno set when
// none can be made.
int createTemporary(const QByteArray& folder, QByteArray* name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = folder + "/.dovi-" +
                QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        // 0666 less the umask, as any new file; never through a link.
        const int fd =
            ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

int writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += n;
        left -= n;
    }
    return 0;
}

// Gives the new file the owner, group and mode of the one it replaces.
FileResult keepOwnership(int fd, const struct stat& old, unsigned addedBits) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        const int error = errno;
        // Only root may give a file away. A file of another user that would
        // become this user's is left alone; for the user's own file only the
        // group can differ, and that is kept where the user may.
        if (old.st_uid != ::geteuid())
            return FileResult::failed(QStringLiteral("its owner could not be kept: ") +
                                          FileResult::fromErrno(error).reason,
                                      error);
        (void)::fchown(fd, uid_t(-1), old.st_gid);
    }
    // After the owner: a change of owner clears the set-user and set-group bits.
    if (::fchmod(fd, (old.st_mode & 07777) | addedBits) != 0)
        return FileResult::fromErrno(errno);
    return FileResult::done();
}

// Owns the temporary file until it takes its name.
class Temporary {
public:
    Temporary(const QByteArray& folder) { fd_ = createTemporary(folder, &name_); }
    ~Temporary() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty() && !placed_)
            ::unlink(name_.constData());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const { return fd_; }
    const QByteArray& name() const { return name_; }
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void placed() { placed_ = true; }

private:
    QByteArray name_;
    int fd_ = -1;
    bool placed_ = false;
};

} // namespace

FileResult writeFileAtomically(const QString& path, const QByteArray& data,
                               const AtomicWriteOptions& options, FileStamp* written) {
    const QByteArray target = nativePath(path);
    struct stat old {};
    const bool replacing = ::lstat(target.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return FileResult::fromErrno(EISDIR);

    Temporary temp(folderOf(target));
    if (temp.fd() < 0)
        return FileResult::fromErrno(errno);
    if (const int error = writeAll(temp.fd(), data))
        return FileResult::fromErrno(error);
    if (replacing && S_ISREG(old.st_mode)) {
        const FileResult kept = keepOwnership(temp.fd(), old, options.addedModeBits);
        if (!kept.ok)
            return kept;
    } else if (options.addedModeBits != 0) {
        struct stat fresh {};
        if (::fstat(temp.fd(), &fresh) != 0 ||
            ::fchmod(temp.fd(), (fresh.st_mode & 07777) | options.addedModeBits) != 0)
            return FileResult::fromErrno(errno);
    }
    // On disk in full before it takes the name.
    struct stat made {};
    if (::fsync(temp.fd()) != 0 || ::fstat(temp.fd(), &made) != 0)
        return FileResult::fromErrno(errno);
    if (temp.close() != 0)
        return FileResult::fromErrno(errno);
    if (options.beforeReplace) {
        const FileResult go = options.beforeReplace();
        if (!go.ok)
            return go;
    }
    // rename replaces a link itself, never what it points at.
    if (::rename(temp.name().constData(), target.constData()) != 0)
        return FileResult::fromErrno(errno);
    temp.placed();
    if (written)
        *written = stampFrom(made);
    return FileResult::done();
}

FileResult syncFolderOf(const QString& path) {
    const int fd =
        ::open(folderOf(nativePath(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return FileResult::fromErrno(errno);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    return result == 0 ? FileResult::done() : FileResult::fromErrno(error);
}

} // namespace dovi::platform
