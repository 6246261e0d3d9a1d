#include "series/SeriesRenaming.h"

#include "app/SharedServices.h"
#include "app/Workspace.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace dovi::series {

namespace {

// Renames without ever replacing an existing file: renameat2 refuses a taken
// name in the kernel, so nothing can slip in between a test and the rename.
// Where the file system lacks it, a hard link (which also refuses a taken
// name) followed by removing the old name does the same.
bool renameNoReplace(const QString& from, const QString& to, QString* reason) {
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    int result = ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        result = ::link(a.constData(), b.constData());
        if (result == 0 && ::unlink(a.constData()) != 0) {
            const int error = errno;
            ::unlink(b.constData());
            errno = error;
            result = -1;
        }
    }
    if (result != 0)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    return result == 0;
}

} // namespace

QString folderPart(const QString& source) {
    return source.left(source.lastIndexOf(QLatin1Char('/')) + 1);
}

QString extensionPart(const QString& source) {
    const qsizetype nameStart = source.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? source.mid(dot) : QString();
}

QString seriesTarget(const QString& source, const QString& text, qint64 index, bool prefix) {
    const QString number = QString::number(index);
    return folderPart(source) + (prefix ? number + text : text + number) + extensionPart(source);
}

QString markedTarget(const QString& target) {
    const qsizetype nameStart = target.lastIndexOf(QLatin1Char('/')) + 1;
    return target.left(nameStart) + QStringLiteral("_!_") + target.mid(nameStart);
}

SeriesRenameRun renameIntoSeries(Workspace& ws, Ui& ui, const QStringList& targets,
                                 const QString& text, qint64 startIndex, bool prefix) {
    SeriesRenameRun run;
    run.nextIndex = startIndex;
    for (const QString& source : targets) {
        QString target = seriesTarget(source, text, run.nextIndex, prefix);
        if (fileExists(target))
            target = markedTarget(target);
        QString reason;
        bool renamed = false;
        if (target.mid(folderPart(source).size()).contains(QLatin1Char('/'))) {
            // A "/" in the series text would move the file to another folder.
            reason = QStringLiteral("the series text is not a valid file name");
        } else {
            clearAttributes(source);
            renamed = renameNoReplace(source, target, &reason);
        }
        if (!renamed)
            ++run.errors;
        if (ws.settings.historyLimit != 0)
            ws.addHistory(renamed ? source + QStringLiteral(" renamed to ") + target
                                  : source + QStringLiteral(" NOT renamed to ") + target +
                                        QStringLiteral(" - ") + reason);
        ++run.nextIndex;
        ui.setProgressValue(static_cast<int>(run.nextIndex - startIndex));
    }
    return run;
}

void reportRenameErrors(Ui& ui, int errors) {
    if (errors <= 0)
        return;
    ui.messageBox(QStringLiteral("Errors"),
                  errors == 1
                      ? QStringLiteral("1 file could not be renamed")
                      : QString::number(errors) + QStringLiteral(" files could not be renamed"),
                  MessageButtons::Ok, MessageIcon::Information);
}

} // namespace dovi::series
