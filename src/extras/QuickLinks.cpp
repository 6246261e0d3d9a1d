#include "extras/QuickLinks.h"

#include "app/ProgramFiles.h"
#include "app/QuotedFields.h"
#include "app/SharedServices.h"
#include "platform/AtomicWrite.h"

#include <QFile>

namespace dovi::extras {

namespace {

QString unableMessage(const QString& verb, const QString& path, const QString& why) {
    QString text = QStringLiteral("Unable to %1 the quick links file %2").arg(verb, path);
    if (!why.isEmpty())
        text += QStringLiteral(": ") + why;
    return text;
}

} // namespace

QString quickLinksPath(const QString& programFolder) {
    return programFilePath(programFolder, kQuickLinksFileName);
}

QStringList readLinks(const QString& programFolder) {
    QFile file(quickLinksPath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readQuotedFields(QString::fromLocal8Bit(file.readAll()));
}

bool addLink(const QString& programFolder, const QString& folder, Ui& ui) {
    const QString path = quickLinksPath(programFolder);
    QFile file(path);
    QByteArray content;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            showMessage(ui, unableMessage(QStringLiteral("read"), path, file.errorString()));
            return false;
        }
        content = file.readAll();
        file.close();
        // A last line without its end (written by hand) stays a line of its own.
        if (!content.isEmpty() && !content.endsWith('\n'))
            content += "\r\n";
    }
    // The whole file is written anew and replaces the old one in one step, so
    // a full disk never leaves half a line behind.
    const platform::FileResult written =
        platform::writeFileAtomically(path, content + quotedLines({folder}));
    if (!written.ok) {
        showMessage(ui, unableMessage(QStringLiteral("write"), path, written.reason));
        return false;
    }
    return true;
}

bool removeLink(const QString& programFolder, const QString& chosen, Ui& ui) {
    const QString path = quickLinksPath(programFolder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(ui, unableMessage(QStringLiteral("read"), path, file.errorString()));
        return false;
    }
    const QByteArray before = file.readAll();
    file.close();
    QStringList kept = readQuotedFields(QString::fromLocal8Bit(before));
    kept.removeAll(chosen);
    const platform::FileResult written = platform::writeFileAtomically(path, quotedLines(kept));
    if (!written.ok) {
        showMessage(ui, unableMessage(QStringLiteral("rewrite"), path, written.reason));
        return false;
    }
    return true;
}

} // namespace dovi::extras
