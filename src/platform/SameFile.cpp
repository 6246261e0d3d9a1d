#include "platform/SameFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace dovi::platform {

QString pathIdentity(const QString& path) {
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return folder == QLatin1String("/") ? folder + info.fileName()
                                        : folder + QLatin1Char('/') + info.fileName();
}

bool sameFile(const QString& a, const QString& b) {
    if (pathIdentity(a) == pathIdentity(b))
        return true;
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace dovi::platform
