#include "platform/FileAttributes.h"

#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace dovi::platform {

FileAttributes attributesOf(const QString& path) {
    FileAttributes a;
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return a;
    a.hidden = QFileInfo(path).fileName().startsWith(QLatin1Char('.'));
    a.system = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    a.archive = S_ISREG(st.st_mode);
    a.readOnly = ::access(native.constData(), W_OK) != 0;
    return a;
}

bool pathExists(const QString& path) {
    // The literal name: "*", "?" and "[" are ordinary characters in Linux
    // names, and a.jpg must not count as "a?.jpg" existing.
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

void makeOwnerWritable(const QString& path) {
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || S_ISLNK(st.st_mode))
        return;
    if (!(st.st_mode & S_IWUSR))
        (void)::chmod(native.constData(), (st.st_mode & 07777) | S_IWUSR);
}

} // namespace dovi::platform
