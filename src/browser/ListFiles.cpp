#include "browser/ListFiles.h"

#include "app/Workspace.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>

namespace dovi::browser {

QString listFileTarget(const QString& chosen, const QString& extension) {
    const QString tail = chosen.right(extension.size());
    if (tail == extension.toLower() || tail == extension.toUpper())
        return chosen;
    return chosen + extension.toLower();
}

bool confirmOverwrite(Workspace& ws, Ui& ui) {
    ws.lastAnswer = ui.messageBox(kOverwriteTitle, kOverwriteQuestion, MessageButtons::YesNo,
                                  MessageIcon::Question);
    return ws.lastAnswer == Answer::Yes;
}

bool writeCrLfLines(const QString& path, const QStringList& lines, QString* error) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLocal8Bit();
        bytes += "\r\n";
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

bool readListFile(const QString& path, qint64 maxBytes, QByteArray& out, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Only a plain file: opening a pipe would wait for a writer for ever.
    std::error_code ec;
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString(), ec);
    if (ec || !std::filesystem::exists(status))
        return fail(QStringLiteral("it does not exist"));
    if (!std::filesystem::is_regular_file(status))
        return fail(QStringLiteral("it is not a plain file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    // A list file holds paths; anything this big is not one, and reading it
    // whole would only tie up memory.
    if (file.size() > maxBytes)
        return fail(QStringLiteral("it is too large to be a list file"));
    out = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (out.size() > maxBytes)
        return fail(QStringLiteral("it is too large to be a list file"));
    return true;
}

} // namespace dovi::browser
