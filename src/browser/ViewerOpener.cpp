#include "browser/ViewerOpener.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"
#include "browser/Preview.h"

#include <QPointer>

namespace dovi::browser {

bool openPreviewedFile(const Workspace& ws, Preview& preview, ShellServices& shell) {
    if (!ws.previewValid || preview.fileName().isEmpty())
        return false;
    QPointer<Preview> shown(&preview);
    shell.openViewer(preview.fileName(), [shown] {
        if (shown)
            shown->showSelectedFile();
    });
    return true;
}

} // namespace dovi::browser
