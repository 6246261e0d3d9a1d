#include "browser/windows/BrowserViews.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace dovi {

FileListView::FileListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FileListView::setEmptyText(const QString& text) {
    emptyText_ = text;
    viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (emptyText_.isEmpty() || (model() && model()->rowCount() > 0))
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, emptyText_);
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
