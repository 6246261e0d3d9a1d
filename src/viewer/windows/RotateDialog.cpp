#include "viewer/windows/RotateDialog.h"

#include "app/SharedServices.h"
#include "app/windows/SelectAllText.h"
#include "viewer/GeometryRules.h"
#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"
#include "viewer/windows/GeometryPreview.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dovi {

RotateDialog::RotateDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui)
    : QDialog(parent), document_(document), ui_(ui) {
    setWindowTitle(QStringLiteral("Rotate Image"));
    setStatus(ui_, true);
    auto* layout = new QHBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Rotation"), this);
    auto* grid = new QGridLayout(frame);
    const int angles[] = {45, 90, 135, 180, 225, 270, 315, 360};
    for (int i = 0; i < 8; ++i) {
        auto* option = new QRadioButton(QString::number(angles[i]), frame);
        grid->addWidget(option, i % 4, i / 4);
        options_ << option;
        connect(option, &QRadioButton::clicked, this,
                [this, a = angles[i]] { degree_->setText(QString::number(a)); });
    }
    degree_ = new QLineEdit(QStringLiteral("0"), frame);
    degree_->setObjectName(QStringLiteral("txtDegree"));
    grid->addWidget(degree_, 4, 0, 1, 2);
    layout->addWidget(frame);
    preview_ = new GeometryPreview(this, document.engine().pixels());
    preview_->setObjectName(QStringLiteral("imgRotate"));
    layout->addWidget(preview_, 1);
    addOkayCancelBar(this);
    selectAllOnFocus(degree_);

    timer_.setSingleShot(true);
    timer_.setInterval(1500);
    connect(degree_, &QLineEdit::textChanged, &timer_, qOverload<>(&QTimer::start));
    connect(&timer_, &QTimer::timeout, this, &RotateDialog::showPreview);
    setStatus(ui_, false);
}

void RotateDialog::showPreview() {
    setStatus(ui_, true);
    imaging::ImagingEngine& engine = preview_->fresh();
    bool number = false;
    degree_->text().trimmed().toDouble(&number);
    if (!number) {
        // Empty or other text previews (and reads) as no turn at all.
        const QSignalBlocker block(degree_);
        degree_->setText(QStringLiteral("0"));
    }
    engine.rotate(viewer::rotationDegrees(degree_->text()));
    preview_->refresh();
    timer_.stop();
    setStatus(ui_, false);
}

void RotateDialog::accept() {
    setStatus(ui_, true);
    if (document_.engine().rotate(viewer::rotationDegrees(degree_->text())))
        document_.markModified();
    setStatus(ui_, false);
    QDialog::accept();
}

} // namespace dovi
