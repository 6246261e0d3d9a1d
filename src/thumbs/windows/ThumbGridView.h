#pragma once
#include <QTableView>

namespace dovi {

// The six-column grid of the thumbnail viewer: a view over the grid model
// that paints each picture centred in its cell (or a "cannot read" mark), and
// reports presses by cell index (row * 6 + column).
class ThumbGridView : public QTableView {
    Q_OBJECT
public:
    explicit ThumbGridView(QWidget* parent = nullptr);
    // Every cell cellPixels big.
    void setCellSize(QSize cellPixels);
    // The cell under a point of the viewport; -1 outside the cells.
    int cellAt(QPoint viewportPoint) const;

signals:
    void leftPressed(int cell);
    void rightPressed(int cell);
    void cellDoubleClicked(int cell);
    void escapePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace dovi
