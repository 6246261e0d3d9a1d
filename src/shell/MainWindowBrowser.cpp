// The browser's controls kept in step with the workspace: the tree follows
// the folder shown, the list view shows the listed names and the selection
// the workspace keeps, and each gesture is handed to its operation.
#include "app/FileListing.h"
#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/Workspace.h"
#include "app/windows/FolderTree.h"
#include "browser/BrowserEvents.h"
#include "browser/FileListModel.h"
#include "browser/SlideshowOptions.h"
#include "browser/ViewerOpener.h"
#include "browser/windows/BrowserViews.h"
#include "browser/windows/PreviewPane.h"
#include "shell/MainWindow.h"

#include <QDir>

#include <QFileSystemModel>
#include <cstring>

namespace dovi {

void MainWindow::connectBrowser() {
    Workspace& ws = workspace_;
    connect(&ws, &Workspace::currentFolderChanged, this, [this](const QString& folder) {
        showFolderInTree(folder);
        watchFolder(folder);
    });
    connect(&ws, &Workspace::filesChanged, this, &MainWindow::onFilesChanged);
    connect(&ws, &Workspace::countersChanged, this, &MainWindow::showCounters);
    connect(&ws, &Workspace::holdListChanged, this, &MainWindow::showHoldList);
    connect(&preview_, &browser::Preview::changed, this, &MainWindow::showPreview);

    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::onTreeCurrentChanged);
    connect(folders_, &QTreeView::clicked, this,
            [this, &ws] { browser::folderTreeClicked(ws, preview_); });
    connect(folders_, &FolderTreeView::rightPressed, this, [this, &ws] {
        browser::folderTreeRightPressed(ws);
        if (folderStatistics_)
            folderStatistics_();
    });
    // The click that ends a right-button press only clears the mark.
    connect(folders_, &FolderTreeView::rightReleased, this,
            [this, &ws] { browser::folderTreeClicked(ws, preview_); });

    connect(filters_, &QComboBox::activated, this, [&ws](int index) { chooseFilter(ws, index); });

    connect(files_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::onListSelectionChanged);
    connect(files_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &ws](const QModelIndex& current) {
                if (!restoringSelection_)
                    ws.files.setCurrent(current.isValid() ? current.row() : -1);
            });
    connect(files_, &FileListView::leftReleased, this,
            [this, &ws] { browser::fileListReleased(ws, preview_); });
    connect(files_, &FileListView::keyReleased, this,
            [this, &ws](int key) { browser::fileListKeyReleased(ws, preview_, key); });
    connect(files_, &FileListView::rightPressed, this,
            [&ws] { browser::fileListRightPressed(ws); });

    // The viewer opens on the previewed file.
    connect(files_, &QAbstractItemView::doubleClicked, this,
            [this, &ws] { browser::openPreviewedFile(ws, preview_, *this); });
    connect(previewPane_, &PreviewPane::leftClicked, this,
            [this, &ws] { browser::openPreviewedFile(ws, preview_, *this); });

    connect(previewPane_, &PreviewPane::pictureBoxChanged, this,
            [this](const QSize& box) { preview_.setPictureBox(box); });

    connect(holdshort_, &QComboBox::activated, this,
            [&ws](int index) { chooseHeldEntry(ws, index); });
    connect(bypass_, &QCheckBox::toggled, this, [&ws](bool on) { setBypassHoldList(ws, on); });

    connect(manual_, &QRadioButton::toggled, this, [&ws](bool on) {
        if (on)
            browser::chooseSlideMode(ws, true);
    });
    connect(timer_, &QRadioButton::toggled, this, [&ws](bool on) {
        if (on)
            browser::chooseSlideMode(ws, false);
    });
    connect(interval_, &QSlider::valueChanged, this, [this, &ws](int seconds) {
        intervalValue_->setText(QString::number(seconds));
        browser::setSlideInterval(ws, seconds);
    });

    // Changes on disk arrive in bursts (a copy of many files); one re-read
    // follows the burst.
    diskChangeTimer_.setSingleShot(true);
    diskChangeTimer_.setInterval(300);
    connect(&folderWatcher_, &QFileSystemWatcher::directoryChanged, &diskChangeTimer_,
            qOverload<>(&QTimer::start));
    connect(&diskChangeTimer_, &QTimer::timeout, this, [this, &ws] {
        // Reading the list under a running command would change the
        // selection it acts on: the re-read waits for its end.
        if (ui_.commandGate().isRunning())
            diskChangeTimer_.start();
        else
            browser::followFolderOnDisk(ws);
    });
    connect(&ui_.commandGate(), &CommandGate::runningChanged, this,
            &MainWindow::holdBrowserDuringCommand);
}

void MainWindow::holdBrowserDuringCommand(bool running) {
    // Clicks on the folders, the list, the filter or the hold list would
    // change what the running command acts on: they wait for its end.
    for (QWidget* control : std::initializer_list<QWidget*>{folders_, files_, filters_, holdshort_,
                                                            bypass_, previewPane_})
        control->setEnabled(!running);
}

void MainWindow::startBrowsing() {
    Workspace& ws = workspace_;
    const int index = ws.settings.filterIndex;
    if (index >= 0 && index < filters_->count())
        filters_->setCurrentIndex(index);

    // The slideshow options show the stored values without storing them again.
    const QSignalBlocker blockManual(manual_), blockTimer(timer_), blockSlider(interval_);
    if (ws.settings.slideManual == 1)
        manual_->setChecked(true);
    else if (ws.settings.slideManual == 0)
        timer_->setChecked(true);
    interval_->setValue(ws.settings.slideInterval);
    intervalValue_->setText(QString::number(interval_->value()));

    // The tree opens at the root with the home folder unfolded.
    const QModelIndex home = folderModel_->index(QDir::homePath());
    for (QModelIndex up = home; up.isValid(); up = up.parent())
        folders_->expand(up);

    openStartupFolder(ws);
    preview_.showImageInfo(false);
    updateCounters(ws);
    showHoldList();
}

void MainWindow::showFolderInTree(const QString& folder) {
    const QModelIndex index = folderModel_->index(folder);
    if (!index.isValid() || folders_->currentIndex() == index)
        return;
    // The workspace shows this folder already; the tree's change notice finds
    // it current and does not list it a second time.
    revealFolder(*folders_, *folderModel_, folder);
}

void MainWindow::onTreeCurrentChanged(const QModelIndex& current) {
    if (!current.isValid())
        return;
    const QString folder = normaliseFolder(folderModel_->filePath(current));
    if (folder.isEmpty() || folder == workspace_.currentFolder)
        return;
    changeFolder(workspace_, folder);
}

void MainWindow::onFilesChanged() {
    const Workspace& ws = workspace_;
    files_->setEmptyText(ws.folderReadError == 0
                             ? QString()
                             : QStringLiteral("This folder cannot be read: ") +
                                   QString::fromLocal8Bit(std::strerror(ws.folderReadError)));
    restoringSelection_ = true;
    fileModel_->reload();
    QItemSelection selection;
    const int count = int(ws.files.size());
    for (int i = 0; i < count; ++i) {
        if (!ws.files.isSelected(i))
            continue;
        int last = i;
        while (last + 1 < count && ws.files.isSelected(last + 1))
            ++last;
        selection.select(fileModel_->index(i), fileModel_->index(last));
        i = last;
    }
    QItemSelectionModel* model = files_->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (ws.files.current() >= 0)
        model->setCurrentIndex(fileModel_->index(ws.files.current()),
                               QItemSelectionModel::NoUpdate);
    restoringSelection_ = false;
}

void MainWindow::onListSelectionChanged(const QItemSelection& selected,
                                        const QItemSelection& deselected) {
    if (restoringSelection_)
        return;
    FileList& files = workspace_.files;
    auto mark = [&files](const QItemSelection& ranges, bool on) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                files.setSelected(row, on);
    };
    mark(deselected, false);
    mark(selected, true);
}

void MainWindow::showCounters() {
    panels_[0]->setText(totalPanelText(workspace_));
    panels_[1]->setText(selectedPanelText(workspace_));
    panels_[2]->setText(heldPanelText(workspace_));
}

void MainWindow::showHoldList() {
    const QSignalBlocker blockList(holdshort_), blockBox(bypass_);
    holdshort_->clear();
    holdshort_->addItems(workspace_.hold.names());
    holdshort_->setCurrentIndex(workspace_.hold.chosenIndex());
    bypass_->setChecked(workspace_.hold.bypass);
}

void MainWindow::showPreview() {
    previewPane_->setPicture(preview_.picture());
    const browser::PreviewLabels& labels = preview_.labels();
    const QString* texts[5] = {&labels.x, &labels.y, &labels.size, &labels.colours, &labels.bpp};
    for (int i = 0; i < 5; ++i)
        info_[i]->setText(*texts[i]);
}

void MainWindow::watchFolder(const QString& folder) {
    const QStringList watched = folderWatcher_.directories();
    if (!watched.isEmpty())
        folderWatcher_.removePaths(watched);
    if (!folder.isEmpty())
        folderWatcher_.addPath(folder);
    diskChangeTimer_.stop();
}

} // namespace dovi
