#pragma once
#include <QAbstractListModel>

namespace dovi {
class Workspace;
}

namespace dovi::browser {

// The file list's names straight from the workspace: no copy, no icons, no
// per-file work, so a folder of tens of thousands of files shows at once.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FileListModel(const Workspace& ws, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The workspace's list was read again.
    void reload();

private:
    const Workspace& ws_;
};

} // namespace dovi::browser
