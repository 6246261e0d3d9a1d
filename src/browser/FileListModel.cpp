#include "browser/FileListModel.h"

#include "app/Workspace.h"

namespace dovi::browser {

FileListModel::FileListModel(const Workspace& ws, QObject* parent)
    : QAbstractListModel(parent), ws_(ws) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ws_.files.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ws_.files.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return ws_.files.at(index.row());
    return {};
}

void FileListModel::reload() {
    beginResetModel();
    endResetModel();
}

} // namespace dovi::browser
