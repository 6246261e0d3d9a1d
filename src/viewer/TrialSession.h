#pragma once
#include <QString>
#include <functional>

namespace dovi {
class Ui;
namespace imaging {
class ImagingEngine;
}
} // namespace dovi

namespace dovi::viewer {

// What the one-slider dialog adjusts.
enum class AdjustMode { Bright, Cont, Sharp, Soft, Blend };

struct SliderSetup {
    int minimum = 0;
    int maximum = 0;
    int start = 0;
    int smallStep = 1;
    int largeStep = 1;
    int tickEvery = 1;
};
SliderSetup adjustSlider(AdjustMode mode);
// The one-slider dialog's caption: "Adjust Image Brightness", ...
QString adjustCaption(AdjustMode mode);
// The three sliders of the HSL and RGB dialogs.
SliderSetup toneSlider();

// Trials on the viewer's picture while a tone or effect dialog is open: each
// trial first undoes the one before, so the picture always shows one trial
// over the picture as it was when the dialog opened. Okay keeps the latest,
// Cancel takes it back.
class TrialSession {
public:
    TrialSession(imaging::ImagingEngine& engine, Ui& ui);

    // The one-slider trial. Sharpen and soften take 1 for 0; amount comes
    // back as it was applied, for the slider to show.
    bool tryAmount(AdjustMode mode, int& amount);
    bool tryHsl(int hue, int saturation, int luminance);
    bool tryRgb(int red, int green, int blue);
    bool tryButtonize(int style, int width, int intensity);

    bool previewed() const { return previewed_; }
    // Okay: the trial stays; true when there was one (the picture changed).
    bool keep();
    // Cancel: the picture goes back to how it was when the dialog opened.
    void discard();

private:
    bool trial(const std::function<bool(imaging::ImagingEngine&)>& apply);

    imaging::ImagingEngine& engine_;
    Ui& ui_;
    bool previewed_ = false;
};

} // namespace dovi::viewer
