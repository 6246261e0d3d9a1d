#include "viewer/TrialSession.h"

#include "app/SharedServices.h"
#include "imaging/ImagingEngine.h"

namespace dovi::viewer {

using imaging::ImagingEngine;

SliderSetup adjustSlider(AdjustMode mode) {
    switch (mode) {
    case AdjustMode::Bright:
    case AdjustMode::Cont:
        return {-100, 100, 0, 5, 10, 10};
    case AdjustMode::Sharp:
    case AdjustMode::Soft:
        return {0, 10, 0, 1, 1, 1};
    case AdjustMode::Blend:
        return {0, 100, 0, 5, 10, 10};
    }
    return {};
}

QString adjustCaption(AdjustMode mode) {
    switch (mode) {
    case AdjustMode::Bright:
        return QStringLiteral("Adjust Image Brightness");
    case AdjustMode::Cont:
        return QStringLiteral("Adjust Image Contrast");
    case AdjustMode::Sharp:
        return QStringLiteral("Adjust Image Sharpness");
    case AdjustMode::Soft:
        return QStringLiteral("Adjust Image Softness");
    case AdjustMode::Blend:
        return QStringLiteral("Blend Image");
    }
    return {};
}

SliderSetup toneSlider() {
    return {-100, 100, 0, 1, 5, 10};
}

TrialSession::TrialSession(ImagingEngine& engine, Ui& ui) : engine_(engine), ui_(ui) {}

bool TrialSession::trial(const std::function<bool(ImagingEngine&)>& apply) {
    setStatus(ui_, true);
    if (previewed_)
        engine_.undo();
    // A trial that could not apply leaves nothing to undo next time.
    previewed_ = apply(engine_);
    setStatus(ui_, false);
    return previewed_;
}

bool TrialSession::tryAmount(AdjustMode mode, int& amount) {
    if ((mode == AdjustMode::Sharp || mode == AdjustMode::Soft) && amount == 0)
        amount = 1;
    const int a = amount;
    return trial([mode, a](ImagingEngine& e) {
        switch (mode) {
        case AdjustMode::Bright:
            return e.brightness(a);
        case AdjustMode::Cont:
            return e.contrast(a);
        case AdjustMode::Sharp:
            return e.sharpen(a);
        case AdjustMode::Soft:
            return e.soften(a);
        case AdjustMode::Blend:
            return e.blend(a);
        }
        return false;
    });
}

bool TrialSession::tryHsl(int hue, int saturation, int luminance) {
    return trial([=](ImagingEngine& e) { return e.adjustHSL(hue, saturation, luminance); });
}

bool TrialSession::tryRgb(int red, int green, int blue) {
    return trial([=](ImagingEngine& e) { return e.adjustRGB(red, green, blue); });
}

bool TrialSession::tryButtonize(int style, int width, int intensity) {
    return trial([=](ImagingEngine& e) { return e.buttonize(style, width, intensity); });
}

bool TrialSession::keep() {
    const bool changed = previewed_;
    previewed_ = false;
    return changed;
}

void TrialSession::discard() {
    if (previewed_)
        engine_.undo();
    previewed_ = false;
}

} // namespace dovi::viewer
