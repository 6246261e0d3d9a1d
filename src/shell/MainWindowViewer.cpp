// The one viewer window, opened for the browser, the thumbnails and anyone
// else through ShellServices::openViewer.
#include "shell/MainWindow.h"
#include "viewer/windows/ViewerWindow.h"

namespace dovi {

ViewerWindow* MainWindow::viewerWindow() const {
    return viewer_;
}

bool MainWindow::closeViewer() {
    if (!viewer_ || !viewer_->isVisible())
        return true;
    if (!viewer_->close()) {
        viewer_->raise();
        viewer_->activateWindow();
        return false;
    }
    return true;
}

void MainWindow::openViewer(const QString& requested, std::function<void()> afterClose) {
    // A copy: closing the viewer open now may change what the caller's
    // reference names (the preview reads its file again).
    const QString path = requested;
    if (!closeViewer())
        return;
    auto* viewer = new ViewerWindow(workspace_, this, this);
    if (!viewer->open(path)) {
        delete viewer;
        return;
    }
    viewer->setAfterClose(std::move(afterClose));
    viewer_ = viewer;
    viewer->showMaximized();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace dovi
