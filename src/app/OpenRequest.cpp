#include "app/OpenRequest.h"

#include "app/FolderState.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace dovi {

QString absoluteArgument(const QString& argument, const QString& workingFolder) {
    if (argument.isEmpty())
        return {};
    QString path = argument;
    if (argument.startsWith(QLatin1String("file://"))) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

std::optional<OpenRequest> openRequestFor(const QString& absolutePath) {
    const QFileInfo info(absolutePath);
    if (absolutePath.isEmpty() || !info.isAbsolute() || !info.exists())
        return std::nullopt;
    if (info.isDir())
        return OpenRequest{normaliseFolder(absolutePath), {}};
    return OpenRequest{normaliseFolder(info.absolutePath()), info.fileName()};
}

} // namespace dovi
