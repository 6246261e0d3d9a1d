// What the main window does for windows of other subsystems: hand a file to
// the viewer, and close the windows that show an old list once the user works
// in the browser.
#include "browser/windows/BrowserViews.h"
#include "shell/MainWindow.h"

namespace dovi {

void MainWindow::closeWhenBrowsing(QWidget* window) {
    if (window && !closeOnBrowsing_.contains(window))
        closeOnBrowsing_ << window;
}

void MainWindow::closeBrowsingWindows() {
    // A window may register again while it closes; it stays closed.
    for (const QPointer<QWidget>& window : std::exchange(closeOnBrowsing_, {}))
        if (window)
            window->close();
}

void MainWindow::connectBrowsingClosers() {
    // Connected after the browser's own handlers, so each gesture does its
    // work first and the windows close after it.
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::closeBrowsingWindows);
    connect(folders_, &QTreeView::clicked, this, &MainWindow::closeBrowsingWindows);
    connect(folders_, &FolderTreeView::rightPressed, this, &MainWindow::closeBrowsingWindows);
    connect(filters_, &QComboBox::activated, this, &MainWindow::closeBrowsingWindows);
    connect(files_, &FileListView::leftReleased, this, &MainWindow::closeBrowsingWindows);
    connect(files_, &FileListView::keyReleased, this, &MainWindow::closeBrowsingWindows);
    connect(files_, &FileListView::rightPressed, this, &MainWindow::closeBrowsingWindows);
}

} // namespace dovi
