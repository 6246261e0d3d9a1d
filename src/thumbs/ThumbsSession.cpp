#include "thumbs/ThumbsSession.h"

#include "app/CommandContext.h"
#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "thumbs/ThumbnailPipeline.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace dovi::thumbs {

ThumbsSession::ThumbsSession(Workspace& workspace, ThumbsPort& port, QSize thumbnailSize)
    : ws_(workspace), port_(port), size_(thumbnailSize) {}

QString ThumbsSession::thumbnailFile(int index) const {
    return thumbnailPath(ws_.tempFolder(), index);
}

bool ThumbsSession::writeThumbnailFile(int index, const QByteArray& bitmap) const {
    const QString path = thumbnailFile(index);
    clearAttributes(path);
    if (bitmap.isEmpty()) {
        QFile::remove(path);
        return false;
    }
    // A working file: written whole under another name and renamed, so the
    // grid never reads half a bitmap; it need not survive a crash, so it is
    // not flushed to disk.
    const QString part = path + QStringLiteral(".part");
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(bitmap) != bitmap.size() || !out.flush()) {
        out.close();
        QFile::remove(part);
        QFile::remove(path);
        return false;
    }
    out.close();
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(part);
        return false;
    }
    return true;
}

void ThumbsSession::generate(const QStringList& actionList, int workers) {
    if (generating_)
        return;
    files_ = actionList;
    thumbIndex_ = -1;
    const int n = int(files_.size());
    port_.prepareGrid(n, gridRows(n));
    port_.setCaption(kGeneratingCaption);
    port_.setBusyPointer(true);
    port_.setProgressRange(n);
    port_.setProgressValue(0);
    ws_.processAbort = false;
    generating_ = true;
    QDir().mkpath(ws_.tempFolder());

    ThumbnailPipeline pipeline(files_, size_, workers);
    for (int i = 0; i < n; ++i) {
        const Thumbnail t = pipeline.take(i, [this] { port_.processEvents(); });
        const bool written = t.ok() && writeThumbnailFile(i, t.bitmap);
        if (!written)
            writeThumbnailFile(i, {});
        port_.placeThumbnail(i, written ? t.picture : QImage());
        port_.setProgressValue(i + 1);
        port_.processEvents();
        if (ws_.processAbort)
            break;
    }
    pipeline.stop();
    generating_ = false;
    port_.setBusyPointer(false);
    port_.setCaption(kViewerCaption);
}

void ThumbsSession::escape() {
    ws_.processAbort = true;
}

void ThumbsSession::leftPress(int cell) {
    if (generating_ || !names(cell))
        return;
    thumbIndex_ = cell;
    port_.showStatus(files_.at(cell));
}

void ThumbsSession::rightPress(int cell) {
    if (generating_ || !names(cell))
        return;
    thumbIndex_ = cell;
    marked_ << files_.at(cell);
    port_.showStatus(files_.at(cell) + QStringLiteral(" added to hold list (item ") +
                     QString::number(marked_.size()) + QStringLiteral(")"));
}

void ThumbsSession::doubleClick(int cell, ShellServices& shell) {
    if (generating_ || !names(cell))
        return;
    thumbIndex_ = cell;
    const QString path = files_.at(cell);
    if (ws_.settings.historyLimit != 0)
        ws_.addHistory(QStringLiteral("Viewed ") + path);
    // The viewer may change the file: its thumbnail is made again when the
    // viewer closes (the thumbnail of that file, whatever was pressed since).
    shell.openViewer(path, [this, alive = std::weak_ptr<int>(alive_), cell, path] {
        if (!alive.expired() && names(cell) && files_.at(cell) == path)
            regenerate(cell);
    });
}

void ThumbsSession::regenerate(int index) {
    if (generating_ || !names(index))
        return;
    const Thumbnail t = makeThumbnail(files_.at(index), size_);
    const bool written = t.ok() && writeThumbnailFile(index, t.bitmap);
    if (!written)
        writeThumbnailFile(index, {});
    port_.placeThumbnail(index, written ? t.picture : QImage());
}

void ThumbsSession::close() {
    if (!marked_.isEmpty()) {
        ws_.hold.clear();
        for (const QString& path : std::as_const(marked_))
            ws_.hold.append(path);
    }
    if (!ws_.hold.isEmpty()) {
        ws_.hold.choose(0);
        emit ws_.holdListChanged();
    }
    updateCounters(ws_);
    resetPreview(ws_);
}

} // namespace dovi::thumbs
