// What quick links, the preferences and the desktop commands ask of the main
// window, and paths handed to the program.
#include "app/FolderState.h"
#include "app/OpenRequest.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "fileops/windows/DestinationDialogChooser.h"
#include "shell/MainWindow.h"

#include <QFileInfo>

namespace dovi {

void MainWindow::showFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        showMessage(ui_, QStringLiteral("The folder %1 cannot be found").arg(folder));
        return;
    }
    const QString shown = normaliseFolder(folder);
    if (shown != workspace_.currentFolder)
        changeFolder(workspace_, shown);
}

void MainWindow::showSlideshowOptions() {
    const Settings& s = workspace_.settings;
    // Shown, not stored again: the slider cannot show an interval outside its
    // own range, so the number beside it says what is in force.
    const QSignalBlocker blockManual(manual_), blockTimer(timer_), blockSlider(interval_);
    (s.slideManual == 1 ? manual_ : timer_)->setChecked(true);
    interval_->setValue(s.slideInterval);
    intervalValue_->setText(QString::number(s.slideInterval));
}

void MainWindow::showProcessingSize() {
    panels_[3]->setText(processingSizeText(workspace_.settings));
}

std::optional<QString> MainWindow::selectFolder() {
    DestinationDialogChooser chooser(this, workspace_, ui_);
    const fileops::DestinationResult result = chooser.choose(fileops::ChooserMode::SelectFolder);
    if (result.cancelled)
        return std::nullopt;
    return result.folder;
}

QString MainWindow::previewedFile() const {
    return preview_.fileName();
}

void MainWindow::openPath(const QString& absolutePath) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    const std::optional<OpenRequest> request = openRequestFor(absolutePath);
    if (!request) {
        showMessage(ui_, QStringLiteral("%1 cannot be found").arg(absolutePath));
        return;
    }
    showFolder(request->folder);
    if (request->fileName.isEmpty())
        return;
    const int index = int(workspace_.files.indexOf(request->fileName));
    if (index < 0)
        return; // not listed under the chosen file type
    workspace_.files.selectNone();
    workspace_.files.setSelected(index, true);
    workspace_.files.setCurrent(index);
    emit workspace_.filesChanged();
    refreshSelection(workspace_);
    preview_.showSelectedFile();
}

} // namespace dovi
