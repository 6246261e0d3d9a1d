#include "viewer/ViewerDocument.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "platform/AtomicWrite.h"
#include "viewer/SaveAsNames.h"
#include "viewer/ViewerSelection.h"

#include <QDir>
#include <QFileInfo>

namespace dovi::viewer {

using imaging::ImagingEngine;

const QList<ViewerFilter>& viewerFilters() {
    static const QList<ViewerFilter> rows = {
        {"Auto Contrast", [](ImagingEngine& e) { return e.autoContrast(); }},
        {"Dilate", [](ImagingEngine& e) { return e.dilate(); }},
        {"Emboss", [](ImagingEngine& e) { return e.emboss(); }},
        {"Flip", [](ImagingEngine& e) { return e.flip(); }},
        {"Median", [](ImagingEngine& e) { return e.median(); }},
        {"Mirror", [](ImagingEngine& e) { return e.mirror(); }},
        {"Negative", [](ImagingEngine& e) { return e.negate(); }},
        {"Concave", [](ImagingEngine& e) { return e.parabolic(true); }},
        {"Convex", [](ImagingEngine& e) { return e.parabolic(false); }},
    };
    return rows;
}

const ViewerFilter* findViewerFilter(const QString& caption) {
    for (const ViewerFilter& f : viewerFilters())
        if (f.caption == caption)
            return &f;
    return nullptr;
}

ViewerDocument::ViewerDocument(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {}

bool ViewerDocument::open(const QString& path) {
    ImagingEngine loaded;
    if (!loaded.load(path)) {
        showMessage(ui_, QDir::toNativeSeparators(path) + QStringLiteral(" could not be opened: ") +
                             loaded.lastError());
        return false;
    }
    engine_ = std::move(loaded);
    fileName_ = saveFileName_ = path;
    saveFormat_ = formatForPath(path, imaging::FormatCode(engine_.imageFileType()));
    modified_ = savedAs_ = false;
    if (ws_.settings.historyLimit != 0)
        ws_.addHistory(QStringLiteral("Viewed ") + path);
    return true;
}

QString ViewerDocument::caption() const {
    return fileName_ + QStringLiteral("  X:") + QString::number(engine_.imageWidth()) +
           QStringLiteral("  Y:") + QString::number(engine_.imageHeight());
}

void ViewerDocument::busy(bool on) {
    setStatus(ui_, on);
}

void ViewerDocument::crop(QPoint start, QPoint end, QPoint scroll) {
    modified_ = true;
    const QRect area =
        cropRectangle(start, end, scroll, {engine_.imageWidth(), engine_.imageHeight()});
    if (!area.isEmpty())
        engine_.crop(area.left(), area.top(), area.width(), area.height());
}

bool ViewerDocument::applyFilter(const ViewerFilter& filter) {
    busy(true);
    const bool done = filter.apply(engine_);
    if (done)
        modified_ = true;
    busy(false);
    return done;
}

void ViewerDocument::undo() {
    busy(true);
    engine_.undo();
    busy(false);
}

bool ViewerDocument::writePicture(const QString& path, imaging::FormatCode format) {
    const QString shown = QDir::toNativeSeparators(path);
    auto fail = [&](const QString& why) {
        showMessage(ui_, shown + QStringLiteral(" could not be saved: ") + why +
                             QStringLiteral(".\nThe file on disk is unchanged; the picture stays "
                                            "open with its changes."));
        return false;
    };
    if (!engine_.isLoaded())
        return fail(QStringLiteral("no picture is open"));
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !target.isWritable())
        return fail(QStringLiteral("the file is read-only"));
    const imaging::EncodeOptions options{ws_.settings.jpegLuminance, ws_.settings.jpegChrominance};
    QByteArray bytes;
    QString error;
    if (!imaging::encodeImage(engine_.image(), format, options, bytes, &error))
        return fail(error);
    const platform::FileResult written = platform::writeFileAtomically(path, bytes);
    if (!written.ok)
        return fail(written.reason);
    return true;
}

bool ViewerDocument::save() {
    busy(true);
    const bool saved = writePicture(saveFileName_, saveFormat_);
    if (saved)
        modified_ = false;
    busy(false);
    return saved;
}

bool ViewerDocument::saveAs(SaveAsChooser& chooser) {
    const QString base = saveAsBaseName(fileName_);
    const SaveAsChoice choice =
        chooser.chooseSaveAs(QStringLiteral("Save File As"), base, saveAsFilters());
    if (choice.path.isEmpty())
        return false;
    busy(true);
    const SaveAsTarget target = saveAsTarget(choice.path, choice.filter);
    if (target.path == fileName_) {
        showMessage(ui_, QStringLiteral("New name is the same as the current name!"));
        busy(false);
        return false;
    }
    if (fileExists(target.path)) {
        if (ui_.messageBox(QStringLiteral("Overwrite"), QStringLiteral("File Exists. Overwrite?"),
                           MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes) {
            busy(false);
            return false;
        }
        clearAttributes(target.path);
    }
    if (!writePicture(target.path, target.format)) {
        busy(false);
        return false;
    }
    saveFileName_ = fileName_ = target.path;
    saveFormat_ = target.format;
    if (ws_.settings.historyLimit != 0)
        ws_.addHistory(QStringLiteral("Saved ") + base + QStringLiteral(" as ") + target.path);
    savedAs_ = true;
    modified_ = false;
    busy(false);
    return true;
}

CloseAnswer ViewerDocument::closeFile() {
    if (!modified_)
        return CloseAnswer::Close;
    const Answer answer = ui_.messageBox(QString(), QStringLiteral("Save Your Changes ?"),
                                         MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == Answer::No)
        return CloseAnswer::Close;
    if (answer != Answer::Yes)
        return CloseAnswer::Stay;
    busy(true);
    const bool saved = writePicture(saveFileName_, saveFormat_);
    if (saved) {
        modified_ = false;
        if (ws_.settings.historyLimit != 0)
            ws_.addHistory(QStringLiteral("Edited ") + fileName_);
    }
    busy(false);
    return saved ? CloseAnswer::Close : CloseAnswer::Stay;
}

CloseAnswer ViewerDocument::cropSaveClose(QPoint start, QPoint end, QPoint scroll) {
    crop(start, end, scroll);
    if (!save())
        return CloseAnswer::Stay;
    return closeFile();
}

void ViewerDocument::windowClosed() {
    if (!savedAs_)
        return;
    rereadAndRefreshSelection(ws_);
    updateCounters(ws_);
    resetPreview(ws_);
}

} // namespace dovi::viewer
