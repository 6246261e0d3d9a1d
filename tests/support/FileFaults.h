#pragma once
// Helpers for tests that prove no file operation loses or corrupts a byte:
// checksums of whole folders, and ways to make a write fail.
#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::test {

inline QByteArray checksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

// Every regular file below folder (hidden ones included, links not followed)
// by its path relative to folder, with its checksum.
inline QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isSymLink())
            out.insert(QDir(folder).relativeFilePath(path), checksum(path));
    }
    return out;
}

// Bytes that differ from file to file, so a swapped or truncated copy shows.
inline QByteArray patternedBytes(qint64 size, int seed) {
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = 2654435761u * quint32(seed + 1);
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        data[i] = char(x >> 24);
    }
    return data;
}

inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

// Caps the size any file of this process may grow to, as a full disk would:
// writes past it fail with EFBIG instead of raising SIGXFSZ. Undone on scope exit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    Q_DISABLE_COPY(FileSizeLimit)

private:
    struct rlimit saved_ {};
    void (*previous_)(int) = SIG_DFL;
};

// A small file system of its own (tmpfs of the given size) on a temporary
// folder, to fill up as a full disk would: writes fail with ENOSPC. Mounting
// needs root and a system that allows it; valid() says whether it worked.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes) {
        if (!dir_.isValid() || ::geteuid() != 0)
            return;
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                           options.constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    Q_DISABLE_COPY(SmallDisk)

    bool valid() const { return mounted_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Points the user's data folder (and so the trash) at a temporary one for
// the object's life.
class DataHome {
public:
    explicit DataHome(const QString& folder)
        : saved_(qgetenv("XDG_DATA_HOME")), had_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
    }
    ~DataHome() {
        if (had_)
            qputenv("XDG_DATA_HOME", saved_);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    Q_DISABLE_COPY(DataHome)

private:
    QByteArray saved_;
    bool had_;
};

// A temporary folder on another file system than /tmp (/dev/shm), or null
// when there is none.
inline std::unique_ptr<QTemporaryDir> otherFileSystemDir(const QString& besides) {
    struct stat here {};
    struct stat there {};
    if (::stat("/dev/shm", &there) != 0 ||
        ::stat(QFile::encodeName(besides).constData(), &here) != 0 || here.st_dev == there.st_dev)
        return nullptr;
    auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/dovi-test-XXXXXX"));
    return dir->isValid() ? std::move(dir) : nullptr;
}

} // namespace dovi::test
