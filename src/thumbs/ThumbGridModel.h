#pragma once
#include <QAbstractTableModel>
#include <QCache>
#include <QImage>
#include <functional>
#include <vector>

namespace dovi::thumbs {

// The grid's cells as a model: rows x 6, cell row * 6 + column standing for
// that file. It keeps one state byte per file and the pictures of a bounded
// number of cells; a cell scrolled back into view whose picture was dropped
// reads it again from its thumbnail file. So the memory a grid of thousands
// of files takes stays near that of the cells on the screen.
class ThumbGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Cell : unsigned char { Empty, Ready, Unreadable };
    // Qt::UserRole: the Cell state of the index, as int.
    static constexpr int StateRole = Qt::UserRole;

    // fileOf(index) names the thumbnail file that holds entry index's picture.
    explicit ThumbGridModel(std::function<QString(int)> fileOf, int cachedPictures = 720,
                            QObject* parent = nullptr);

    // count files in rows rows (at least enough rows for them); every cell empty.
    void reset(int count, int rows);
    // Entry index's picture arrived (null: the file could not be read).
    void place(int index, const QImage& picture);

    int fileCount() const { return count_; }
    Cell cellState(int index) const;
    // The picture of a ready cell, from the cache or its file.
    QImage picture(int index) const;
    int cachedPictures() const { return cache_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::function<QString(int)> fileOf_;
    int count_ = 0;
    int rows_ = 0;
    std::vector<Cell> cells_;
    mutable QCache<int, QImage> cache_;
};

} // namespace dovi::thumbs
