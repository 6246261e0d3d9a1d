#pragma once
#include "viewer/ViewerDocument.h"
#include "viewer/ViewerSelection.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;

namespace dovi {

class ImageView;
class StatusSurface;
class Ui;
class Workspace;

// The viewer: one picture at its own size, maximised on a black ground, with
// the selection, crop, filters, the adjustment dialogs, undo, the clipboard
// and the saves. Every way of closing it (its menu, its button, a right
// click, the window manager) runs the same close procedure with its
// "Save Your Changes ?" question.
// (No Q_OBJECT: moc cannot read the engine headers this one includes.)
class ViewerWindow : public QMainWindow {
public:
    // ui: where questions and messages go (a Qt one over this window unless
    // given); status: the main window's busy light and progress bar.
    ViewerWindow(Workspace& ws, StatusSurface* status, QWidget* parent = nullptr, Ui* ui = nullptr,
                 std::unique_ptr<viewer::SaveAsChooser> chooser = {});
    ~ViewerWindow() override;

    // Opens a file; false (with a message) when it cannot be read.
    bool open(const QString& path);
    // Runs once the window has closed, however it was closed.
    void setAfterClose(std::function<void()> afterClose) { afterClose_ = std::move(afterClose); }

    viewer::ViewerDocument& document() { return document_; }
    viewer::ViewerSelection& selection() { return selection_; }
    ImageView* view() const { return view_; }
    // The menu or toolbar action of the given caption or toolbar key.
    QAction* action(const QString& name) const { return actions_.value(name); }

    void killSelection();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QAction* addCommand(QMenu* menu, const QString& caption, std::function<void()> run,
                        const QKeySequence& keys = {});
    // The picture and caption after any change.
    void showPicture();
    void refreshCaption();
    void crop();
    void cropSaveClose();
    void undo();
    void copyToClipboard();
    void setBackground(bool white);
    void runDialog(QDialog& dialog);
    void openAdjust(int mode);
    void openTone(bool hsl);
    void openButtonize();
    void openResample();
    void openRotate();
    void openPerspective();

    Workspace& ws_;
    std::unique_ptr<Ui> ownUi_;
    Ui& ui_;
    std::unique_ptr<viewer::SaveAsChooser> chooser_;
    viewer::ViewerDocument document_;
    viewer::ViewerSelection selection_;
    ImageView* view_ = nullptr;
    QTimer startTimer_;
    QHash<QString, QAction*> actions_;
    std::function<void()> afterClose_;
    bool finished_ = false;
};

} // namespace dovi
