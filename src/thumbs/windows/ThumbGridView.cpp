#include "thumbs/windows/ThumbGridView.h"

#include "thumbs/ThumbGeometry.h"
#include "thumbs/ThumbGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace dovi {

namespace {

// Draws a cell's picture at its own size in the middle of the cell; a file
// that could not be read gets a framed "cannot read" instead.
class CentredPictureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        using Cell = thumbs::ThumbGridModel::Cell;
        const auto state = Cell(index.data(thumbs::ThumbGridModel::StateRole).toInt());
        if (state == Cell::Unreadable) {
            const QRect box = option.rect.adjusted(5, 5, -5, -5);
            painter->save();
            painter->setPen(option.palette.color(QPalette::Mid));
            painter->drawRect(box.adjusted(0, 0, -1, -1));
            painter->setPen(option.palette.color(QPalette::PlaceholderText));
            painter->drawText(box, Qt::AlignCenter | Qt::TextWordWrap,
                              QStringLiteral("cannot read"));
            painter->restore();
            return;
        }
        const QImage picture = index.data(Qt::DecorationRole).value<QImage>();
        if (picture.isNull())
            return;
        const QSize size = picture.size();
        const QPoint topLeft(option.rect.x() + (option.rect.width() - size.width()) / 2,
                             option.rect.y() + (option.rect.height() - size.height()) / 2);
        painter->drawImage(topLeft, picture);
    }
};

} // namespace

ThumbGridView::ThumbGridView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("grid"));
    setItemDelegate(new CentredPictureDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
}

void ThumbGridView::setCellSize(QSize cellPixels) {
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(cellPixels.width());
    verticalHeader()->setDefaultSectionSize(cellPixels.height());
    verticalScrollBar()->setSingleStep(cellPixels.height() / 4);
}

int ThumbGridView::cellAt(QPoint point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? thumbs::cellIndex(index.row(), index.column()) : -1;
}

void ThumbGridView::mousePressEvent(QMouseEvent* event) {
    setFocus();
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0 && event->button() == Qt::LeftButton)
        emit leftPressed(cell);
    else if (cell >= 0 && event->button() == Qt::RightButton)
        emit rightPressed(cell);
}

void ThumbGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0 && event->button() == Qt::LeftButton)
        emit cellDoubleClicked(cell);
}

void ThumbGridView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        emit escapePressed();
    else
        QTableView::keyPressEvent(event);
}

} // namespace dovi
