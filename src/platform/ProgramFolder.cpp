#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace dovi::platform {

QString resolveProgramFolder(const QString& executableFolder) {
    if (!executableFolder.isEmpty() &&
        ::access(QFile::encodeName(executableFolder).constData(), W_OK) == 0)
        return QDir::cleanPath(executableFolder);
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share/Dovi");
    QDir().mkpath(data);
    return QDir::cleanPath(data);
}

} // namespace dovi::platform
