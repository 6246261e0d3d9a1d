#pragma once
#include "viewer/LatestOnly.h"
#include "viewer/TrialSession.h"

#include <QDialog>
#include <array>
#include <functional>

class QSlider;

namespace dovi {

namespace viewer {
class ViewerDocument;
}

// "Adjust Image HSL" (hue, saturation, luminance) or "Adjust Image RGB"
// (red, green, blue): three sliders tried together on the viewer's picture.
class ToneDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Hsl, Rgb };
    ToneDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, Kind kind,
               std::function<void()> shown);

    QSlider* slider(int index) const { return sliders_.at(index); }
    void settle() { trials_.flush(); }

    void accept() override;
    void reject() override;

private:
    void tryValues();

    viewer::ViewerDocument& document_;
    Kind kind_;
    viewer::TrialSession session_;
    viewer::LatestOnly trials_;
    std::function<void()> shown_;
    std::array<QSlider*, 3> sliders_{};
};

} // namespace dovi
