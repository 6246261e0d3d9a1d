#include "platform/SameFile.h"

#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <sys/stat.h>

namespace dovi::platform {

QString pathIdentity(const QString& path) {
    const QFileInfo info(path);
    char* real = ::realpath(nativePath(info.absolutePath()).constData(), nullptr);
    if (!real)
        return QDir::cleanPath(info.absoluteFilePath());
    const QString folder = pathFromNative(real);
    std::free(real);
    return folder == QLatin1String("/") ? folder + info.fileName()
                                        : folder + QLatin1Char('/') + info.fileName();
}

bool sameFile(const QString& a, const QString& b) {
    if (pathIdentity(a) == pathIdentity(b))
        return true;
    struct stat sa {
    }, sb{};
    if (::stat(nativePath(a).constData(), &sa) != 0 || ::stat(nativePath(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace dovi::platform
