#include "platform/Trash.h"

#include "platform/FileCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::platform {

namespace {

// A trash folder and the Path= value a file trashed into it records.
struct TrashLocation {
    QByteArray folder;
    QByteArray recordedPath;
};

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray parentOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// Makes one folder level, private to the user, unless it is there; true when
// a real folder (not a link to one) stands there afterwards.
bool ensureFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ensureTrash(const QByteArray& folder) {
    return ensureFolder(folder) && ensureFolder(folder + "/files") &&
           ensureFolder(folder + "/info");
}

// The root of the mount holding folder: the highest ancestor on the same device.
QByteArray topDirectory(QByteArray folder, dev_t device) {
    while (folder != "/") {
        const QByteArray parent = parentOf(folder);
        struct stat st {};
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

// Percent-encodes everything but unreserved characters and "/", byte by byte,
// as a URL path is written.
QByteArray urlEncoded(const QByteArray& path) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            b == '-' || b == '.' || b == '_' || b == '~' || b == '/') {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

// The $topdir trash of a mount: $topdir/.Trash/$uid when the administrator
// set up a sticky $topdir/.Trash, else $topdir/.Trash-$uid, which must be the
// user's own folder.
QByteArray topDirectoryTrash(const QByteArray& top) {
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray shared = joined(top, ".Trash");
    struct stat st {};
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = joined(shared, uid);
        if (ensureTrash(mine))
            return mine;
    }
    const QByteArray own = joined(top, ".Trash-" + uid);
    if (ensureTrash(own) && ::lstat(own.constData(), &st) == 0 && st.st_uid == ::getuid())
        return own;
    return {};
}

// Where a file may go, best first: the home trash when the file shares its
// file system, then the trash of the file's own mount.
QList<TrashLocation> locationsFor(const QByteArray& absolute, dev_t device) {
    QList<TrashLocation> out;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty() && QDir().mkpath(dataHome)) {
        const QByteArray home = QFile::encodeName(dataHome);
        struct stat st {};
        if (::stat(home.constData(), &st) == 0 && st.st_dev == device &&
            ensureTrash(joined(home, "Trash")))
            out.append({joined(home, "Trash"), urlEncoded(absolute)});
    }
    // The parent as the file system sees it, so the walk up meets the mount.
    const QByteArray name = absolute.mid(absolute.lastIndexOf('/') + 1);
    const QByteArray parent =
        QFile::encodeName(QFileInfo(QFile::decodeName(parentOf(absolute))).canonicalFilePath());
    if (parent.isEmpty())
        return out;
    const QByteArray top = topDirectory(parent, device);
    const QByteArray trash = topDirectoryTrash(top);
    if (!trash.isEmpty()) {
        const QByteArray below = top == "/" ? parent.mid(1) : parent.mid(top.size() + 1);
        out.append({trash, urlEncoded(below.isEmpty() ? name : below + '/' + name)});
    }
    return out;
}

// "photo.jpg", then "photo.2.jpg", "photo.3.jpg" ...
QByteArray entryName(const QByteArray& name, int attempt) {
    if (attempt == 1)
        return name;
    const int dot = name.lastIndexOf('.');
    const QByteArray n = '.' + QByteArray::number(attempt);
    return dot > 0 ? name.left(dot) + n + name.mid(dot) : name + n;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, p, size_t(left));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += put;
        left -= put;
    }
    return true;
}

enum class Step { Done, TryNextLocation, Failed };

// Records then moves the file into one trash folder.
Step trashInto(const TrashLocation& at, const QByteArray& file, FileResult& result) {
    const QByteArray name = file.mid(file.lastIndexOf('/') + 1);
    const QByteArray date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
    const QByteArray text =
        "[Trash Info]\nPath=" + at.recordedPath + "\nDeletionDate=" + date + "\n";
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QByteArray entry = entryName(name, attempt);
        const QByteArray info = at.folder + "/info/" + entry + ".trashinfo";
        // Created exclusively: the info file claims the entry name.
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            result = FileResult::fromErrno(errno);
            return Step::Failed;
        }
        const bool written = writeAll(fd, text);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            result = FileResult::fromErrno(written ? errno : writeError);
            ::unlink(info.constData());
            return Step::Failed;
        }
        const FileResult moved = renameNoReplace(QFile::decodeName(file),
                                                 QFile::decodeName(at.folder + "/files/" + entry));
        if (moved.ok) {
            result = moved;
            return Step::Done;
        }
        ::unlink(info.constData());
        if (moved.error == EEXIST)
            continue;
        result = moved;
        return moved.error == EXDEV ? Step::TryNextLocation : Step::Failed;
    }
    result = FileResult::fromErrno(EEXIST);
    return Step::Failed;
}

QByteArray absoluteNative(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

} // namespace

QString trashFolderFor(const QString& path) {
    const QByteArray file = absoluteNative(path);
    struct stat st {};
    if (::lstat(file.constData(), &st) != 0)
        return {};
    const QList<TrashLocation> at = locationsFor(file, st.st_dev);
    return at.isEmpty() ? QString() : QFile::decodeName(at.first().folder);
}

FileResult moveToTrash(const QString& path) {
    const QByteArray file = absoluteNative(path);
    struct stat st {};
    if (::lstat(file.constData(), &st) != 0)
        return FileResult::fromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return FileResult::fromErrno(EISDIR);
    FileResult result =
        FileResult::failed(QStringLiteral("no trash folder on its file system can take it"));
    for (const TrashLocation& at : locationsFor(file, st.st_dev)) {
        if (trashInto(at, file, result) != Step::TryNextLocation)
            return result;
    }
    return result;
}

} // namespace dovi::platform
