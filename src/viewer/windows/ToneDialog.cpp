#include "viewer/windows/ToneDialog.h"

#include "viewer/windows/DialogButtons.h"

#include <QFormLayout>
#include <QSlider>

namespace dovi {

ToneDialog::ToneDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, Kind kind,
                       std::function<void()> shown)
    : TrialDialog(parent, document, ui, std::move(shown)), kind_(kind) {
    const bool hsl = kind == Kind::Hsl;
    setWindowTitle(hsl ? QStringLiteral("Adjust Image HSL") : QStringLiteral("Adjust Image RGB"));
    static const char* const hslNames[3][2] = {
        {"slideH", "Hue"}, {"slideS", "Saturation"}, {"slideL", "Luminance"}};
    static const char* const rgbNames[3][2] = {
        {"slideR", "Red"}, {"slideG", "Green"}, {"SlideB", "Blue"}};
    auto* form = new QFormLayout(this);
    for (int i = 0; i < 3; ++i) {
        const char* const* names = hsl ? hslNames[i] : rgbNames[i];
        sliders_[i] = makeSlider(viewer::toneSlider(), names[0]);
        form->addRow(QLatin1String(names[1]), sliders_[i]);
        connect(sliders_[i], &QSlider::valueChanged, this,
                [this] { postTrial([this] { tryValues(); }); });
    }
    addOkayCancelBar(this);
}

void ToneDialog::tryValues() {
    const int a = sliders_[0]->value(), b = sliders_[1]->value(), c = sliders_[2]->value();
    if (kind_ == Kind::Hsl)
        session_.tryHsl(a, b, c);
    else
        session_.tryRgb(a, b, c);
    trialShown();
}

} // namespace dovi
