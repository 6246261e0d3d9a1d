#include "viewer/windows/ToneDialog.h"

#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"

#include <QFormLayout>
#include <QSlider>

namespace dovi {

ToneDialog::ToneDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui, Kind kind,
                       std::function<void()> shown)
    : QDialog(parent), document_(document), kind_(kind), session_(document.engine(), ui),
      trials_(this), shown_(std::move(shown)) {
    const bool hsl = kind == Kind::Hsl;
    setWindowTitle(hsl ? QStringLiteral("Adjust Image HSL") : QStringLiteral("Adjust Image RGB"));
    static const char* const hslNames[3][2] = {
        {"slideH", "Hue"}, {"slideS", "Saturation"}, {"slideL", "Luminance"}};
    static const char* const rgbNames[3][2] = {
        {"slideR", "Red"}, {"slideG", "Green"}, {"SlideB", "Blue"}};
    auto* form = new QFormLayout(this);
    const viewer::SliderSetup setup = viewer::toneSlider();
    for (int i = 0; i < 3; ++i) {
        const char* const* names = hsl ? hslNames[i] : rgbNames[i];
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QLatin1String(names[0]));
        slider->setRange(setup.minimum, setup.maximum);
        slider->setValue(setup.start);
        slider->setSingleStep(setup.smallStep);
        slider->setPageStep(setup.largeStep);
        slider->setTickInterval(setup.tickEvery);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setMinimumWidth(320);
        form->addRow(QLatin1String(names[1]), slider);
        sliders_[i] = slider;
        connect(slider, &QSlider::valueChanged, this,
                [this] { trials_.post([this] { tryValues(); }); });
    }
    addOkayCancelBar(this);
}

void ToneDialog::tryValues() {
    const int a = sliders_[0]->value(), b = sliders_[1]->value(), c = sliders_[2]->value();
    if (kind_ == Kind::Hsl)
        session_.tryHsl(a, b, c);
    else
        session_.tryRgb(a, b, c);
    if (shown_)
        shown_();
}

void ToneDialog::accept() {
    trials_.flush();
    if (session_.keep())
        document_.markModified();
    QDialog::accept();
}

void ToneDialog::reject() {
    trials_.drop();
    session_.discard();
    if (shown_)
        shown_();
    QDialog::reject();
}

} // namespace dovi
