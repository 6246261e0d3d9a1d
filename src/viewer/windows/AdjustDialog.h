#pragma once
#include "viewer/windows/TrialDialog.h"

class QLabel;

namespace dovi {

// The one-slider dialog: brightness, contrast, sharpness, softness or blend
// tried on the viewer's picture as the slider moves.
class AdjustDialog : public TrialDialog {
    Q_OBJECT
public:
    AdjustDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, viewer::AdjustMode mode,
                 std::function<void()> shown);

    QSlider* slider() const { return slider_; }

private:
    void tryValue(int value);

    viewer::AdjustMode mode_;
    QSlider* slider_ = nullptr;
    QLabel* value_ = nullptr;
};

} // namespace dovi
