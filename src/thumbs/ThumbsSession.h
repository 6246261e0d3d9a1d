#pragma once
#include "thumbs/ThumbGeometry.h"

#include <QImage>
#include <QStringList>
#include <memory>

namespace dovi {
class ShellServices;
class Workspace;
} // namespace dovi

namespace dovi::thumbs {

inline const QString kGeneratingCaption =
    QStringLiteral("Generating thumbnails - Press ESCAPE to abort");
inline const QString kViewerCaption = QStringLiteral("Thumbnail Viewer");

// What the thumbnail window shows for a session: its grid, caption, pointer,
// progress bar and status line.
class ThumbsPort {
public:
    virtual ~ThumbsPort() = default;
    // A grid of rows x 6 empty cells for count files.
    virtual void prepareGrid(int count, int rows) = 0;
    // A finished cell; a null picture marks a file that could not be read.
    virtual void placeThumbnail(int index, const QImage& picture) = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    virtual void setProgressRange(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void showStatus(const QString& text) = 0;
    // Lets pending window events run (repaints, Escape).
    virtual void processEvents() = 0;
};

// The thumbnail viewer without its window: the files shown, the thumbnails
// made for them, the presses on cells and the files marked for the hold list.
class ThumbsSession {
public:
    ThumbsSession(Workspace& workspace, ThumbsPort& port, QSize thumbnailSize);

    // Makes a thumbnail file per entry of actionList in the temporary folder
    // ("Temp/0.bmp", "Temp/1.bmp", ...) and places each in its cell in list
    // order. Escape (escape()) stops after the file in progress; a file that
    // cannot be read gets a marked cell and the run goes on. workers 0 means
    // one per core; 1 makes the files one by one.
    void generate(const QStringList& actionList, int workers = 0);
    bool generating() const { return generating_; }

    // Escape in the grid.
    void escape();
    // Presses on a cell; all are ignored while thumbnails are made, and a
    // cell past the last file names no file and does nothing.
    void leftPress(int cell);
    void rightPress(int cell);
    // Opens the file in the viewer through the shell, writing the history
    // line; when the viewer closes, this file's thumbnail is made again.
    void doubleClick(int cell, ShellServices& shell);
    // Makes the thumbnail of entry index again from its file (the viewer may
    // have changed it) and places it.
    void regenerate(int index);

    // The window closes: a non-empty list of marked files replaces the hold
    // list; the counters and the preview are brought up to date.
    void close();

    const QStringList& files() const { return files_; }
    const QStringList& marked() const { return marked_; }
    int thumbIndex() const { return thumbIndex_; }
    QSize thumbnailSize() const { return size_; }
    QString thumbnailFile(int index) const;

private:
    bool names(int cell) const { return cell >= 0 && cell < files_.size(); }
    // Writes a thumbnail's bitmap as entry index's file; a failed thumbnail
    // removes an older file of that name so it cannot be shown.
    bool writeThumbnailFile(int index, const QByteArray& bitmap) const;

    Workspace& ws_;
    ThumbsPort& port_;
    QSize size_;
    QStringList files_;
    QStringList marked_;
    int thumbIndex_ = -1;
    bool generating_ = false;
    // Lives as long as the session: the viewer may close after it.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace dovi::thumbs
