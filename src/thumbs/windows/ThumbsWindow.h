#pragma once
#include "thumbs/ThumbsSession.h"

#include <QWidget>

class QLabel;
class QProgressBar;

namespace dovi {

class ShellServices;
class ThumbGridView;
class Workspace;
namespace thumbs {
class ThumbGridModel;
}

// The thumbnail viewer: the grid, a progress bar under it and a status line.
// Shown without blocking the main window; one at a time (a second generation
// reuses it and keeps its marks). Closing applies the marked files to the
// hold list. Deletes itself when closed.
class ThumbsWindow : public QWidget, public thumbs::ThumbsPort {
    Q_OBJECT
public:
    ThumbsWindow(QWidget* parent, Workspace& workspace, ShellServices& shell);
    ~ThumbsWindow() override;

    // Shows the window and makes the thumbnails of actionList.
    void generate(const QStringList& actionList);
    bool generating() const { return session_.generating(); }

    thumbs::ThumbsSession& session() { return session_; }
    ThumbGridView* grid() const { return grid_; }
    thumbs::ThumbGridModel* model() const { return model_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLine() const { return status_; }

    // ThumbsPort
    void prepareGrid(int count, int rows) override;
    void placeThumbnail(int index, const QImage& picture) override;
    void setCaption(const QString& caption) override;
    void setBusyPointer(bool busy) override;
    void setProgressRange(int maximum) override;
    void setProgressValue(int value) override;
    void showStatus(const QString& text) override;
    void processEvents() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Workspace& workspace_;
    ShellServices& shell_;
    thumbs::GridGeometry geometry_;
    thumbs::ThumbGridModel* model_;
    ThumbGridView* grid_;
    QProgressBar* progress_;
    QLabel* status_;
    thumbs::ThumbsSession session_;
    // A close asked for while thumbnails are made waits for the run to stop.
    bool closeAfterRun_ = false;
};

} // namespace dovi
