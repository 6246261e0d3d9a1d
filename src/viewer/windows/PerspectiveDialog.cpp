#include "viewer/windows/PerspectiveDialog.h"

#include "app/SharedServices.h"
#include "viewer/GeometryRules.h"
#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"
#include "viewer/windows/GeometryPreview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace dovi {

PerspectiveDialog::PerspectiveDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui)
    : QDialog(parent), document_(document), ui_(ui) {
    setWindowTitle(QStringLiteral("Adjust Image Perspective"));
    setStatus(ui_, true);
    auto* layout = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    auto* frame = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directions = new QVBoxLayout(frame);
    for (const viewer::PerspectiveDirection& d : viewer::perspectiveDirections()) {
        auto* option = new QRadioButton(d.caption, frame);
        directions->addWidget(option);
        options_ << option;
        connect(option, &QRadioButton::clicked, this, &PerspectiveDialog::showPreview);
    }
    options_.back()->setChecked(true); // "Top to Bottom"
    column->addWidget(frame);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("slidePer"));
    slider_->setRange(0, 100);
    slider_->setValue(100);
    slider_->setSingleStep(1);
    slider_->setPageStep(5);
    slider_->setTickInterval(10);
    slider_->setTickPosition(QSlider::TicksBelow);
    column->addWidget(slider_);
    column->addStretch();
    layout->addLayout(column);
    preview_ = new GeometryPreview(this, document.engine().pixels());
    preview_->setObjectName(QStringLiteral("imgPer"));
    layout->addWidget(preview_, 1);
    addOkayCancelBar(this);
    connect(slider_, &QSlider::valueChanged, this, &PerspectiveDialog::showPreview);
    setStatus(ui_, false);
}

int PerspectiveDialog::direction() const {
    const QList<viewer::PerspectiveDirection>& rows = viewer::perspectiveDirections();
    for (int i = 0; i < options_.size(); ++i)
        if (options_[i]->isChecked())
            return rows.at(i).code;
    return 0;
}

void PerspectiveDialog::showPreview() {
    setStatus(ui_, true);
    preview_->fresh().perspective(direction(), slider_->value());
    preview_->refresh();
    setStatus(ui_, false);
}

void PerspectiveDialog::accept() {
    setStatus(ui_, true);
    preview_->fresh();
    if (document_.engine().perspective(direction(), slider_->value()))
        document_.markModified();
    setStatus(ui_, false);
    QDialog::accept();
}

} // namespace dovi
