#include "fileops/windows/DestinationWindow.h"

#include "app/Workspace.h"
#include "app/windows/FolderTree.h"

#include <QAction>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QVBoxLayout>

namespace dovi {

DestinationWindow::DestinationWindow(QWidget* parent, Workspace& ws, Ui& ui,
                                     fileops::ChooserMode mode)
    : QDialog(parent), ws_(ws), ui_(ui), mode_(mode),
      startFolder_(fileops::chooserStartFolder(ws)) {
    setObjectName(QStringLiteral("frmDest"));
    setWindowTitle(fileops::chooserCaption(mode));
    setModal(true);
    resize(360, 420);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    const struct {
        const char* key;
        const char* tip;
        const char* icon;
    } buttons[] = {{"okay", "Okay", "dialog-ok"}, {"cancel", "Cancel", "dialog-cancel"}};
    for (const auto& b : buttons) {
        const QString key = QLatin1String(b.key);
        QAction* action =
            toolbar_->addAction(QIcon::fromTheme(QLatin1String(b.icon)), QLatin1String(b.tip));
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QLatin1String(b.tip));
        connect(action, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
    }

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QStringLiteral("/"));
    folders_ = new QTreeView(this);
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->header()->hide();

    gothere_ = new QCheckBox(QStringLiteral("Make this your working directory"), this);
    gothere_->setObjectName(QStringLiteral("gothere"));
    gothere_->setEnabled(mode == fileops::ChooserMode::CopyMove);
    connect(gothere_, &QCheckBox::toggled, this,
            [this](bool on) { outcome_.makeWorkingFolder = on; });

    auto* column = new QVBoxLayout(this);
    column->addWidget(toolbar_);
    column->addWidget(folders_, 1);
    column->addWidget(gothere_);

    showFolder(startFolder_);
}

QString DestinationWindow::treeFolder() const {
    const QModelIndex current = folders_->currentIndex();
    return current.isValid() ? model_->filePath(current) : startFolder_;
}

void DestinationWindow::showFolder(const QString& folder) {
    revealFolder(*folders_, *model_, folder);
}

void DestinationWindow::runToolbarKey(const QString& key) {
    if (key == QLatin1String("okay")) {
        const QString folder = treeFolder();
        if (!fileops::acceptDestination(ws_, ui_, mode_, folder))
            return;
        outcome_.folder = folder;
        outcome_.cancelled = false;
        accept();
    } else if (key == QLatin1String("cancel")) {
        reject();
    }
}

void DestinationWindow::done(int result) {
    if (result != QDialog::Accepted)
        outcome_.cancelled = true;
    if (mode_ == fileops::ChooserMode::CopyMove)
        fileops::rememberDestination(ws_, treeFolder());
    QDialog::done(result);
}

} // namespace dovi
