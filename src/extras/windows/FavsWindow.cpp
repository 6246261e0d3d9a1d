#include "extras/windows/FavsWindow.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"
#include "extras/QuickLinks.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace dovi {

FavsWindow::FavsWindow(QWidget* parent, Workspace& workspace, Ui& ui, ShellServices& shell)
    : QDialog(parent), workspace_(workspace), ui_(ui), shell_(shell) {
    setObjectName(QStringLiteral("frmFavs"));
    setWindowTitle(QStringLiteral("Quick Link Items"));
    setModal(false);

    auto* frame = new QGroupBox(QStringLiteral("Current Listing"), this);
    links_ = new QListWidget(frame);
    links_->setObjectName(QStringLiteral("links"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(links_);

    add_ = new QPushButton(QStringLiteral("Add"), this);
    add_->setObjectName(QStringLiteral("add"));
    remove_ = new QPushButton(QStringLiteral("Remove"), this);
    remove_->setObjectName(QStringLiteral("remove"));
    add_->setAutoDefault(false);
    remove_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(add_, &QPushButton::clicked, this, &FavsWindow::addCurrentFolder);
    connect(remove_, &QPushButton::clicked, this, &FavsWindow::removeChosen);
    connect(links_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { shell_.showFolder(item->text()); });
    readLinks();
}

void FavsWindow::readLinks() {
    links_->clear();
    links_->addItems(extras::readLinks(workspace_.programFolder()));
}

void FavsWindow::addCurrentFolder() {
    const QString folder = workspace_.currentFolder;
    if (extras::addLink(workspace_.programFolder(), folder, ui_))
        links_->addItem(folder);
}

void FavsWindow::removeChosen() {
    QListWidgetItem* chosen = links_->currentItem();
    const QString text = chosen && chosen->isSelected() ? chosen->text() : QString();
    extras::removeLink(workspace_.programFolder(), text, ui_);
    readLinks();
}

} // namespace dovi
