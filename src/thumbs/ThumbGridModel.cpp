#include "thumbs/ThumbGridModel.h"

#include "imaging/Codecs.h"
#include "thumbs/ThumbGeometry.h"

namespace dovi::thumbs {

ThumbGridModel::ThumbGridModel(std::function<QString(int)> fileOf, int cachedPictures,
                               QObject* parent)
    : QAbstractTableModel(parent), fileOf_(std::move(fileOf)), cache_(std::max(1, cachedPictures)) {
}

void ThumbGridModel::reset(int count, int rows) {
    beginResetModel();
    count_ = std::max(0, count);
    rows_ = std::max(rows, (count_ + kColumns - 1) / kColumns);
    cells_.assign(size_t(count_), Cell::Empty);
    cache_.clear();
    endResetModel();
}

void ThumbGridModel::place(int index, const QImage& picture) {
    if (index < 0 || index >= count_)
        return;
    cells_[size_t(index)] = picture.isNull() ? Cell::Unreadable : Cell::Ready;
    if (picture.isNull())
        cache_.remove(index);
    else
        cache_.insert(index, new QImage(picture));
    const QModelIndex cell = this->index(index / kColumns, index % kColumns);
    emit dataChanged(cell, cell);
}

ThumbGridModel::Cell ThumbGridModel::cellState(int index) const {
    return index >= 0 && index < count_ ? cells_[size_t(index)] : Cell::Empty;
}

QImage ThumbGridModel::picture(int index) const {
    if (cellState(index) != Cell::Ready)
        return {};
    if (const QImage* cached = cache_.object(index))
        return *cached;
    const imaging::DecodeResult read = imaging::decodeFile(fileOf_(index));
    if (!read.ok())
        return {};
    cache_.insert(index, new QImage(read.image.pixels));
    return read.image.pixels;
}

int ThumbGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ThumbGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ThumbGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int i = cellIndex(index.row(), index.column());
    switch (role) {
    case Qt::DecorationRole:
        return picture(i);
    case StateRole:
        return int(cellState(i));
    default:
        return {};
    }
}

} // namespace dovi::thumbs
