#include "viewer/windows/TrialDialog.h"

#include "viewer/ViewerDocument.h"

#include <QSlider>

namespace dovi {

TrialDialog::TrialDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui,
                         std::function<void()> shown)
    : QDialog(parent), session_(document.engine(), ui), document_(document), trials_(this),
      shown_(std::move(shown)) {}

QSlider* TrialDialog::makeSlider(const viewer::SliderSetup& setup, const char* name) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(setup.minimum, setup.maximum);
    slider->setValue(setup.start);
    slider->setSingleStep(setup.smallStep);
    slider->setPageStep(setup.largeStep);
    slider->setTickInterval(setup.tickEvery);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setMinimumWidth(320);
    return slider;
}

void TrialDialog::accept() {
    trials_.flush();
    if (session_.keep())
        document_.markModified();
    QDialog::accept();
}

void TrialDialog::reject() {
    trials_.drop();
    session_.discard();
    trialShown();
    QDialog::reject();
}

} // namespace dovi
