#pragma once
#include "app/CommandContext.h"
#include "app/CommandDispatcher.h"
#include "app/windows/DialogUi.h"
#include "app/windows/StatusSurface.h"
#include "browser/Preview.h"
#include "browser/windows/HistoryWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class QFileSystemModel;
class QItemSelection;

namespace dovi {

class CaptionedProgressBar;
class FileListView;
class FolderTreeView;
class PreviewPane;
class ViewerWindow;
class Workspace;
namespace browser {
class FileListModel;
}

// The hub of the program: lives for the whole run, draws the workspace and
// turns its menus, toolbar and controls into calls of the operations. It is
// the shell every subsystem's commands ask for what only it can do.
class MainWindow : public QMainWindow, public StatusSurface, public ShellServices {
    Q_OBJECT
public:
    // measurer: how the preview reads files (the imaging engine unless given).
    explicit MainWindow(Workspace& workspace,
                        std::shared_ptr<browser::ImageMeasurer> measurer = {});
    ~MainWindow() override;

    Ui& ui() { return ui_; }
    CommandDispatcher& commands() { return commands_; }
    browser::Preview& preview() { return preview_; }

    // The six status bar panels, left to right.
    QLabel* statusPanel(int index) const { return panels_.at(index); }
    QWidget* idleLight() const { return idleLight_; }
    CaptionedProgressBar* progressBar() const { return progress_; }
    FolderTreeView* folderTree() const { return folders_; }
    FileListView* fileList() const { return files_; }
    QComboBox* filterList() const { return filters_; }
    PreviewPane* previewPane() const { return previewPane_; }
    // The five information labels: X, Y, size, colours, depth.
    QLabel* infoLabel(int index) const { return info_.at(index); }
    QComboBox* holdList() const { return holdshort_; }
    QCheckBox* bypassBox() const { return bypass_; }
    QSlider* intervalSlider() const { return interval_; }
    QRadioButton* manualOption() const { return manual_; }
    QRadioButton* timerOption() const { return timer_; }

    // ShellServices. The running history window: created on first use, one
    // at a time.
    void showRunningHistory() override;
    void refreshFolderTree() override;
    HistoryWindow* historyWindow() const { return history_; }
    // The one viewer: a viewer already open closes first (asking about its
    // unsaved changes; Cancel keeps it and opens nothing).
    void openViewer(const QString& path, std::function<void()> afterClose) override;
    ViewerWindow* viewerWindow() const;
    // Windows that close when the user works in the tree, the filter list or
    // the file list (MainWindowBrowsing.cpp).
    void closeWhenBrowsing(QWidget* window) override;
    void showFolder(const QString& folder) override;
    void showSlideshowOptions() override;
    void showProcessingSize() override;
    std::optional<QString> selectFolder() override;
    QString previewedFile() const override;

    // A path handed to the program (its argument, or a second start's):
    // the window comes to the front at that folder, or at a file's folder
    // with the file selected and previewed.
    void openPath(const QString& absolutePath);

    // What the tree's right button shows besides marking the next click (the
    // folder statistics, handed in by the folder commands).
    void setFolderStatisticsHandler(std::function<void()> handler) {
        folderStatistics_ = std::move(handler);
    }

    // The quit command: shut down, then end the program.
    void quitProgram();

    // StatusSurface
    void showIdleLight(bool busy) override;
    void showProgressMode(int mode) override;
    void showProgressCaption(const QString& caption) override;
    void showProgressRange(int minimum, int maximum) override;
    void showProgressValue(int value) override;
    void showCaption(const QString& caption) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Construction (MainWindowLayout.cpp).
    void bindCommands();
    void buildFrame();
    QWidget* buildFolderColumn();
    QWidget* buildFileColumn();
    QWidget* buildPreviewColumn();
    QWidget* buildHoldFrame();
    void buildStatusBar();
    void loadLogo();

    // The browser's controls and the workspace kept in step (MainWindowBrowser.cpp).
    void connectBrowser();
    void startBrowsing();
    void showFolderInTree(const QString& folder);
    void onTreeCurrentChanged(const QModelIndex& current);
    void onFilesChanged();
    void onListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void showCounters();
    void showHoldList();
    void showPreview();
    void watchFolder(const QString& folder);
    void holdBrowserDuringCommand(bool running);
    void connectBrowsingClosers();
    void closeBrowsingWindows();

    void showKeyLocks();
    void onActivated();
    void runShutDown();

    Workspace& workspace_;
    DialogUi ui_;
    CommandDispatcher commands_;
    browser::Preview preview_;

    std::array<QLabel*, 6> panels_{};
    QWidget* idleLight_ = nullptr;
    CaptionedProgressBar* progress_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    FolderTreeView* folders_ = nullptr;
    FileListView* files_ = nullptr;
    browser::FileListModel* fileModel_ = nullptr;
    QComboBox* filters_ = nullptr;
    PreviewPane* previewPane_ = nullptr;
    std::array<QLabel*, 5> info_{};
    QRadioButton* manual_ = nullptr;
    QRadioButton* timer_ = nullptr;
    QSlider* interval_ = nullptr;
    QLabel* intervalValue_ = nullptr;
    QComboBox* holdshort_ = nullptr;
    QCheckBox* bypass_ = nullptr;
    QPointer<HistoryWindow> history_;
    QPointer<ViewerWindow> viewer_;
    // Closes the viewer through its close procedure; false when it stays.
    bool closeViewer();
    std::function<void()> folderStatistics_;
    QList<QPointer<QWidget>> closeOnBrowsing_;

    QFileSystemWatcher folderWatcher_;
    QTimer diskChangeTimer_;
    QTimer keyLockTimer_;
    // True while the list view is made to show the workspace's selection, so
    // that its own change signals are not taken for the user's.
    bool restoringSelection_ = false;
    bool shutDownDone_ = false;
};

} // namespace dovi
