// How the main window is laid out: toolbar, three columns (folder tree, file
// list over the filter drop-down, preview over its information lines), the
// idle light and progress bar, the hold frame, and the status bar. Layouts and
// a splitter, not fixed positions, so it follows resizing and screen scale.
#include "app/FileListing.h"
#include "app/ProgramFiles.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "browser/FileListModel.h"
#include "browser/SlideshowOptions.h"
#include "browser/windows/BrowserViews.h"
#include "browser/windows/PreviewPane.h"
#include "shell/MainWindow.h"

#include <QFileSystemModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace dovi {

namespace {
QFrame* framed(const char* name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}
} // namespace

void MainWindow::buildFrame() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);

    QFrame* mainFrame = framed("fraMain", central);
    auto* mainColumn = new QVBoxLayout(mainFrame);
    auto* columns = new QSplitter(Qt::Horizontal, mainFrame);
    columns->setObjectName(QStringLiteral("columns"));
    columns->setChildrenCollapsible(false);
    columns->addWidget(buildFolderColumn());
    columns->addWidget(buildFileColumn());
    columns->addWidget(buildPreviewColumn());
    columns->setSizes({320, 320, 300});
    mainColumn->addWidget(columns, 1);

    auto* bottom = new QHBoxLayout;
    idleLight_ = new QWidget(mainFrame);
    idleLight_->setObjectName(QStringLiteral("idle"));
    idleLight_->setFixedSize(18, 18);
    idleLight_->setAutoFillBackground(true);
    progress_ = new CaptionedProgressBar(mainFrame);
    progress_->setObjectName(QStringLiteral("progress"));
    bottom->addWidget(idleLight_);
    bottom->addWidget(progress_, 1);
    mainColumn->addLayout(bottom);

    outer->addWidget(mainFrame, 1);
    outer->addWidget(buildHoldFrame());
    setCentralWidget(central);
}

QWidget* MainWindow::buildFolderColumn() {
    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folderModel_->setReadOnly(true);
    folderModel_->setRootPath(QDir::rootPath());
    folders_ = new FolderTreeView;
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column)
        folders_->hideColumn(column);
    return folders_;
}

QWidget* MainWindow::buildFileColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    files_ = new FileListView(column);
    files_->setObjectName(QStringLiteral("files"));
    fileModel_ = new browser::FileListModel(workspace_, this);
    files_->setModel(fileModel_);
    filters_ = new QComboBox(column);
    filters_->setObjectName(QStringLiteral("filters"));
    filters_->addItems(filterCaptions());
    layout->addWidget(files_, 1);
    layout->addWidget(filters_);
    return column;
}

QWidget* MainWindow::buildPreviewColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    previewPane_ = new PreviewPane(column);
    previewPane_->setObjectName(QStringLiteral("preview"));
    layout->addWidget(previewPane_, 1);
    static const char* const names[5] = {"X", "Y", "size", "colours", "BPP"};
    for (int i = 0; i < 5; ++i) {
        info_[i] = new QLabel(column);
        info_[i]->setObjectName(QLatin1String(names[i]));
        info_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(info_[i]);
    }
    return column;
}

QWidget* MainWindow::buildHoldFrame() {
    QFrame* hold = framed("fraHold", nullptr);
    auto* row = new QHBoxLayout(hold);

    manual_ = new QRadioButton(QStringLiteral("Manual"), hold);
    manual_->setObjectName(QStringLiteral("manual"));
    timer_ = new QRadioButton(QStringLiteral("Timer"), hold);
    timer_->setObjectName(QStringLiteral("timer"));
    auto* intervalCaption = new QLabel(QStringLiteral("Interval in Seconds"), hold);
    interval_ = new QSlider(Qt::Horizontal, hold);
    interval_->setObjectName(QStringLiteral("interval"));
    interval_->setRange(browser::kMinSlideInterval, browser::kMaxSlideInterval);
    interval_->setTickPosition(QSlider::TicksBelow);
    interval_->setTickInterval(5);
    interval_->setMinimumWidth(120);
    intervalValue_ = new QLabel(hold);
    intervalValue_->setMinimumWidth(
        intervalValue_->fontMetrics().horizontalAdvance(QStringLiteral("30")));
    auto* slideGrid = new QVBoxLayout;
    auto* modes = new QHBoxLayout;
    modes->addWidget(manual_);
    modes->addWidget(timer_);
    modes->addStretch(1);
    auto* slider = new QHBoxLayout;
    slider->addWidget(intervalCaption);
    slider->addWidget(interval_, 1);
    slider->addWidget(intervalValue_);
    slideGrid->addLayout(modes);
    slideGrid->addLayout(slider);
    row->addLayout(slideGrid, 2);

    holdshort_ = new QComboBox(hold);
    holdshort_->setObjectName(QStringLiteral("holdshort"));
    holdshort_->setMinimumContentsLength(16);
    holdshort_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    holdshort_->setToolTip(QStringLiteral("Hold List"));
    row->addWidget(holdshort_, 2);

    bypass_ = new QCheckBox(QStringLiteral("Bypass Hold List"), hold);
    bypass_->setObjectName(QStringLiteral("bypass"));
    row->addWidget(bypass_);
    return hold;
}

void MainWindow::buildStatusBar() {
    static const char* const tips[6] = {
        "Total Files",      "Selected Files",
        "Held Files",       "Process Resolution (* indicates extra conditions)",
        "CAPS.LOCK Status", "NUM.LOCK Status"};
    static const char* const texts[3] = {"Total : 0", "Selected : 0", "Held : 0"};
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("status%1").arg(i + 1));
        panel->setToolTip(QLatin1String(tips[i]));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 3)
            panel->setText(QLatin1String(texts[i]));
        if (i >= 4)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel);
        panels_[i] = panel;
    }
    statusBar()->setSizeGripEnabled(false);
}

void MainWindow::loadLogo() {
    QImage logo(programFilePath(workspace_.programFolder(), kLogoFileName));
    if (logo.isNull())
        logo.load(QStringLiteral(":/dovilogo.jpg")); // the copy that ships inside the program
    previewPane_->setLogo(logo);
}

} // namespace dovi
