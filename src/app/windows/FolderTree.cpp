#include "app/windows/FolderTree.h"

#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QPersistentModelIndex>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

namespace dovi {

namespace {

// Keeps one folder shown in a tree while its model is still reading the
// folders on the way. The model reads on a thread of its own: rows arrive and
// are sorted after the folder was first shown, pushing it out of view. Each
// such change shows it again, until the user touches the tree or picks
// another folder.
class FolderKeeper : public QObject {
public:
    static constexpr const char* kName = "folderKeeper";

    FolderKeeper(QTreeView& tree, QFileSystemModel& model, QString folder)
        : QObject(&tree), tree_(tree), model_(model), folder_(std::move(folder)) {
        setObjectName(QLatin1String(kName));
        again_.setSingleShot(true);
        again_.setInterval(0);
        connect(&again_, &QTimer::timeout, this, &FolderKeeper::showAgain);
        auto later = [this] { again_.start(); };
        connect(&model_, &QFileSystemModel::directoryLoaded, this, later);
        connect(&model_, &QAbstractItemModel::rowsInserted, this, later);
        connect(&model_, &QAbstractItemModel::layoutChanged, this, later);
        tree_.installEventFilter(this);
        tree_.viewport()->installEventFilter(this);
        tree_.verticalScrollBar()->installEventFilter(this);
    }

    // True when the folder is there and now the tree's current item.
    bool show() {
        const QModelIndex index = model_.index(folder_);
        if (!index.isValid())
            return false;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            tree_.expand(up);
        if (tree_.currentIndex() != index)
            tree_.setCurrentIndex(index);
        shown_ = index;
        tree_.scrollTo(index);
        again_.start(); // a view not laid out yet scrolls once it is
        return true;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            deleteLater(); // the user has taken over
            break;
        default:
            break;
        }
        return false;
    }

private:
    void showAgain() {
        if (!shown_.isValid() || tree_.currentIndex() != shown_) {
            deleteLater(); // another folder was picked
            return;
        }
        tree_.doItemsLayout();
        tree_.scrollTo(shown_, QAbstractItemView::PositionAtCenter);
    }

    QTreeView& tree_;
    QFileSystemModel& model_;
    const QString folder_;
    QPersistentModelIndex shown_;
    QTimer again_;
};

} // namespace

bool revealFolder(QTreeView& tree, QFileSystemModel& model, const QString& folder) {
    if (folder.isEmpty())
        return false;
    // One keeper a tree: the folder shown last is the one to keep.
    for (QObject* old : tree.findChildren<QObject*>(QLatin1String(FolderKeeper::kName),
                                                    Qt::FindDirectChildrenOnly))
        delete old;
    auto* keeper = new FolderKeeper(tree, model, QDir::cleanPath(folder));
    if (keeper->show())
        return true;
    delete keeper;
    return false;
}

} // namespace dovi
