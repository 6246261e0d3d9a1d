#include "viewer/windows/AdjustDialog.h"

#include "viewer/windows/DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace dovi {

AdjustDialog::AdjustDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui,
                           viewer::AdjustMode mode, std::function<void()> shown)
    : TrialDialog(parent, document, ui, std::move(shown)), mode_(mode) {
    setWindowTitle(viewer::adjustCaption(mode));
    auto* layout = new QVBoxLayout(this);
    const viewer::SliderSetup setup = viewer::adjustSlider(mode);
    slider_ = makeSlider(setup, "slideAmount");
    value_ = new QLabel(QString::number(setup.start), this);
    value_->setMinimumWidth(40);
    auto* row = new QHBoxLayout;
    row->addWidget(slider_, 1);
    row->addWidget(value_);
    layout->addLayout(row);
    addOkayCancelBar(this);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        value_->setText(QString::number(value));
        postTrial([this] { tryValue(slider_->value()); });
    });
}

void AdjustDialog::tryValue(int value) {
    session_.tryAmount(mode_, value);
    if (value != slider_->value()) {
        // Sharpen and soften never run with 0: the slider shows what ran.
        const QSignalBlocker block(slider_);
        slider_->setValue(value);
        value_->setText(QString::number(value));
    }
    trialShown();
}

} // namespace dovi
