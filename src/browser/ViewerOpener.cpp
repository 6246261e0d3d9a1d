#include "browser/ViewerOpener.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"
#include "browser/Preview.h"

#include <QPointer>
#include <memory>

namespace dovi::browser {

namespace {

void openShownFile(const Workspace& ws, Preview& preview, ShellServices& shell) {
    if (!ws.previewValid || preview.fileName().isEmpty())
        return;
    QPointer<Preview> shown(&preview);
    const QString path = preview.fileName();
    shell.openViewer(path, [shown] {
        if (shown)
            shown->showSelectedFile();
    });
}

} // namespace

bool openPreviewedFile(const Workspace& ws, Preview& preview, ShellServices& shell) {
    // The click before a double-click starts reading the file again; the
    // viewer opens once the preview shows it (and only if it can).
    if (preview.isReading()) {
        // Either the reading ends, or something resets the preview first
        // (then nothing opens): whichever comes first ends the wait.
        auto done = std::make_shared<QMetaObject::Connection>();
        auto reset = std::make_shared<QMetaObject::Connection>();
        *done = QObject::connect(&preview, &Preview::readingFinished, &preview,
                                 [&ws, &preview, &shell, done, reset] {
                                     QObject::disconnect(*done);
                                     QObject::disconnect(*reset);
                                     openShownFile(ws, preview, shell);
                                 });
        *reset = QObject::connect(&ws, &Workspace::previewReset, &preview, [done, reset] {
            QObject::disconnect(*done);
            QObject::disconnect(*reset);
        });
        return true;
    }
    if (!ws.previewValid || preview.fileName().isEmpty())
        return false;
    openShownFile(ws, preview, shell);
    return true;
}

} // namespace dovi::browser
