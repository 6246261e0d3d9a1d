#include "viewer/windows/AdjustDialog.h"

#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace dovi {

AdjustDialog::AdjustDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui,
                           viewer::AdjustMode mode, std::function<void()> shown)
    : QDialog(parent), document_(document), mode_(mode), session_(document.engine(), ui),
      trials_(this), shown_(std::move(shown)) {
    setWindowTitle(viewer::adjustCaption(mode));
    auto* layout = new QVBoxLayout(this);
    const viewer::SliderSetup setup = viewer::adjustSlider(mode);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("slideAmount"));
    slider_->setRange(setup.minimum, setup.maximum);
    slider_->setValue(setup.start);
    slider_->setSingleStep(setup.smallStep);
    slider_->setPageStep(setup.largeStep);
    slider_->setTickInterval(setup.tickEvery);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setMinimumWidth(320);
    value_ = new QLabel(QString::number(setup.start), this);
    value_->setMinimumWidth(40);
    auto* row = new QHBoxLayout;
    row->addWidget(slider_, 1);
    row->addWidget(value_);
    layout->addLayout(row);
    addOkayCancelBar(this);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        value_->setText(QString::number(value));
        trials_.post([this] { tryValue(slider_->value()); });
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
    if (shown_)
        shown_();
}

void AdjustDialog::accept() {
    trials_.flush();
    if (session_.keep())
        document_.markModified();
    QDialog::accept();
}

void AdjustDialog::reject() {
    trials_.drop();
    session_.discard();
    if (shown_)
        shown_();
    QDialog::reject();
}

} // namespace dovi
