#pragma once
#include "viewer/windows/TrialDialog.h"

#include <array>

namespace dovi {

// "Adjust Image HSL" (hue, saturation, luminance) or "Adjust Image RGB"
// (red, green, blue): three sliders tried together on the viewer's picture.
class ToneDialog : public TrialDialog {
    Q_OBJECT
public:
    enum class Kind { Hsl, Rgb };
    ToneDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, Kind kind,
               std::function<void()> shown);

    QSlider* slider(int index) const { return sliders_.at(index); }

private:
    void tryValues();

    Kind kind_;
    std::array<QSlider*, 3> sliders_{};
};

} // namespace dovi
