#pragma once
#include <QListView>
#include <QTreeView>

namespace dovi {

// The file list's view. It reports the gestures the browser acts on once the
// view has done its own work with them (so the selection is up to date), and
// keeps the two gestures that feed the hold list from changing the selection:
// the right button and Space add the selection as it stood.
class FileListView : public QListView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    // Shown across an empty list ("This folder cannot be read: ..."), so an
    // unreadable folder does not pass for an empty one.
    void setEmptyText(const QString& text);
    const QString& emptyText() const { return emptyText_; }

signals:
    void leftReleased();
    void rightPressed();
    void keyReleased(int key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString emptyText_;
};

// The folder tree's view. The right button neither selects nor opens a
// folder: it reports its press and its release (the click that follows it).
class FolderTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTreeView(QWidget* parent = nullptr);

signals:
    void rightPressed();
    void rightReleased();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace dovi
