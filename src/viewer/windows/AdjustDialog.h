#pragma once
#include "viewer/LatestOnly.h"
#include "viewer/TrialSession.h"

#include <QDialog>
#include <functional>

class QLabel;
class QSlider;

namespace dovi {

namespace viewer {
class ViewerDocument;
}

// The one-slider dialog: brightness, contrast, sharpness, softness or blend
// tried on the viewer's picture as the slider moves.
class AdjustDialog : public QDialog {
    Q_OBJECT
public:
    // shown: redraws the viewer after each trial.
    AdjustDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, viewer::AdjustMode mode,
                 std::function<void()> shown);

    QSlider* slider() const { return slider_; }
    // Runs a trial still waiting for the event loop (tests, Okay).
    void settle() { trials_.flush(); }

    void accept() override;
    void reject() override;

private:
    void tryValue(int value);

    viewer::ViewerDocument& document_;
    viewer::AdjustMode mode_;
    viewer::TrialSession session_;
    viewer::LatestOnly trials_;
    std::function<void()> shown_;
    QSlider* slider_ = nullptr;
    QLabel* value_ = nullptr;
};

} // namespace dovi
