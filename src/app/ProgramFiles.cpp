#include "app/ProgramFiles.h"

#include "app/SharedServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dovi {

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString programFilePath(const QString& programFolder, const QString& name) {
    return joinPath(programFolder, name);
}

QString ensureLogo(const QString& programFolder) {
    const QString path = programFilePath(programFolder, kLogoFileName);
    if (!QFileInfo::exists(path)) {
        QFile shipped(QStringLiteral(":/dovilogo.jpg"));
        QFile out(path);
        if (shipped.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(shipped.readAll());
    }
    return path;
}

int emptyTempFolder(const QString& programFolder) {
    const QString temp = programFilePath(programFolder, kTempFolderName);
    const QFileInfo tempInfo(temp);
    if (tempInfo.isSymLink() || !tempInfo.isDir())
        return 0;
    int deleted = 0;
    const QFileInfoList entries =
        QDir(temp).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile())
            continue;
        const QString path = entry.absoluteFilePath();
        clearAttributes(path);
        if (QFile::remove(path))
            ++deleted;
    }
    return deleted;
}

} // namespace dovi
