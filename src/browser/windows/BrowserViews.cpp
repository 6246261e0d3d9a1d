#include "browser/windows/BrowserViews.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace dovi {

FileListView::FileListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FileListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightPressed();
        return;
    }
    QListView::mousePressEvent(event);
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftReleased();
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void FileListView::keyReleaseEvent(QKeyEvent* event) {
    QListView::keyReleaseEvent(event);
    // A held key repeats; only its final release counts.
    if (event->isAutoRepeat())
        return;
    emit keyReleased(event->key());
}

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FolderTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightPressed();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void FolderTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightReleased();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

} // namespace dovi
