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
    if (path.isEmpty())
        return false;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        const QDir dir(slash >= 0 ? path.left(slash + 1) : QStringLiteral("."));
        return !dir.entryList({name},
                              QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                    .isEmpty();
    }
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
