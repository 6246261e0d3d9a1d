#include "browser/Preview.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"

#include <QFileInfo>
#include <QRunnable>

namespace dovi::browser {

Preview::Preview(Workspace& ws, Ui& ui, std::shared_ptr<ImageMeasurer> measurer, QObject* parent)
    : QObject(parent), ws_(ws), ui_(ui), measurer_(std::move(measurer)) {
    // One reader: a queued request that has become stale is skipped unread,
    // so moving quickly through a folder does not queue decodes.
    pool_.setMaxThreadCount(1);
    connect(&ws_, &Workspace::previewReset, this, &Preview::onReset);
}

Preview::~Preview() {
    ++latest_;
    pool_.clear();
    pool_.waitForDone();
}

void Preview::showSelectedFile() {
    if (ws_.settings.showPreviewInfo != 1) {
        showImageInfo(false);
        return;
    }
    // The busy state is the preview's own: a command taking it over later is
    // never ended by this reading's answer.
    releaseBusy(ui_, claim_);
    claim_ = claimBusy(ui_);
    if (claim_ != 0)
        ui_.setProgressCaption(kReadingCaption);

    // Release what was shown: from here on it is not the file on the labels,
    // nor the picture.
    ++latest_;
    reading_ = false;
    fileName_.clear();
    labels_ = {};
    picture_ = {};
    ws_.previewValid = false;
    emit changed();

    const int entry = ws_.files.current();
    if (entry < 0 || entry >= ws_.files.size()) {
        showImageInfo(false);
        settle();
        return;
    }
    const QString path = fullPath(ws_, ws_.files.at(entry));
    if (!fileExists(path)) {
        rereadFilesAndCount(ws_);
        showImageInfo(false);
        settle();
        return;
    }
    const qint64 limit = qint64(ws_.settings.previewLimitKb) * 1024;
    if ((ws_.settings.previewLimitOn == 1 && QFileInfo(path).size() > limit) ||
        ws_.selected.isEmpty()) {
        showImageInfo(false);
        settle();
        return;
    }

    reading_ = true;
    const quint64 request = ++latest_;
    const QSize box = box_;
    std::shared_ptr<ImageMeasurer> measurer = measurer_;
    pool_.start(QRunnable::create([this, request, path, box, measurer] {
        if (latest_.load() != request)
            return;
        ImageFacts facts;
        try {
            facts = measurer->measure(path, box);
        } catch (...) {
            facts = {}; // an unreadable file, like any other failed load
        }
        QMetaObject::invokeMethod(
            this, [this, request, path, facts] { onMeasured(request, path, facts); },
            Qt::QueuedConnection);
    }));
}

void Preview::onMeasured(quint64 request, const QString& path, const ImageFacts& facts) {
    if (request != latest_.load() || !reading_)
        return;
    reading_ = false;
    // A command started meanwhile may be deleting or renaming this very file:
    // its facts are not shown.
    if (facts.loaded() && !ui_.commandGate().isRunning()) {
        fileName_ = path;
        showImageInfo(true, facts);
    } else {
        showImageInfo(false);
    }
    settle();
    emit readingFinished();
}

void Preview::showImageInfo(bool valid, const ImageFacts& facts) {
    if (!valid) {
        resetPreview(ws_); // comes back through onReset
        return;
    }
    labels_ = PreviewLabels::describe(facts);
    picture_ = facts.picture;
    ws_.previewValid = true;
    emit changed();
}

void Preview::onReset() {
    if (reading_) {
        // Whatever was being read is no longer wanted; its answer is dropped.
        reading_ = false;
        ++latest_;
        settle();
    }
    labels_ = {};
    picture_ = {};
    fileName_.clear();
    ws_.previewValid = false;
    emit changed();
}

void Preview::settle() {
    releaseBusy(ui_, claim_);
    claim_ = 0;
}

} // namespace dovi::browser
