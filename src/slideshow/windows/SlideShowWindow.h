#pragma once
#include "slideshow/SlideShow.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;

namespace dovi {

class ShellServices;
class Ui;
class Workspace;

// The full-screen show: borderless and black over the whole screen, the
// caption line at the top. Left click steps (manual) or hands the slide to
// the viewer (timer mode); right click or Escape ends the show. One window
// at a time: starting the show again restarts it. Deletes itself when closed.
class SlideShowWindow : public QWidget {
    Q_OBJECT
public:
    SlideShowWindow(QWidget* parent, Workspace& workspace, Ui& ui, ShellServices& shell);
    ~SlideShowWindow() override;

    // Starts the show over actionList with the current settings and shows
    // the window; when nothing in it can be shown, the window closes.
    void startShow(QStringList actionList);

    const slideshow::SlideShow& show() const { return *show_; }
    QLabel* captionLabel() const { return caption_; }
    const QTimer& timer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void advance();
    void showCurrentSlide();
    slideshow::SlideScreen measureScreen() const;

    Workspace& workspace_;
    Ui& ui_;
    ShellServices& shell_;
    QLabel* caption_;
    QTimer timer_;
    std::unique_ptr<slideshow::SlideShow> show_;
};

} // namespace dovi
