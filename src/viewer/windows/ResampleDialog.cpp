#include "viewer/windows/ResampleDialog.h"

#include "app/SharedServices.h"
#include "app/windows/SelectAllText.h"
#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dovi {

ResampleDialog::ResampleDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui)
    : QDialog(parent), document_(document), ui_(ui) {
    setWindowTitle(QStringLiteral("Resample Image"));
    const imaging::ImagingEngine& engine = document.engine();
    max_ = viewer::determineMaxVals(engine.imageWidth(), engine.imageHeight());

    auto* layout = new QHBoxLayout(this);
    auto* sizes = new QGroupBox(QStringLiteral("Set Resize"), this);
    auto* sizeColumn = new QVBoxLayout(sizes);
    options_ << new QRadioButton(QStringLiteral("Custom"), sizes);
    for (const QSize& s : viewer::resamplePresets())
        options_ << new QRadioButton(QString::number(s.width()) + QStringLiteral(" x ") +
                                         QString::number(s.height()),
                                     sizes);
    for (QRadioButton* o : options_)
        sizeColumn->addWidget(o);
    layout->addWidget(sizes);

    auto* custom = new QGroupBox(QStringLiteral("Custom Size"), this);
    auto* customColumn = new QVBoxLayout(custom);
    aspect_ = new QCheckBox(QStringLiteral("Maintain Aspect"), custom);
    aspect_->setChecked(true);
    width_ = new QLineEdit(custom);
    width_->setObjectName(QStringLiteral("txtWidth"));
    height_ = new QLineEdit(custom);
    height_->setObjectName(QStringLiteral("txtHeight"));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(width_);
    boxes->addWidget(new QLabel(QStringLiteral("x"), custom));
    boxes->addWidget(height_);
    customColumn->addWidget(aspect_);
    customColumn->addWidget(new QLabel(QStringLiteral("Width and Height"), custom));
    customColumn->addLayout(boxes);
    customColumn->addStretch();
    layout->addWidget(custom);
    addOkayCancelBar(this);

    // The tab order runs from "640 x 480" up to "Custom".
    for (qsizetype i = options_.size() - 1; i > 0; --i)
        setTabOrder(options_[i], options_[i - 1]);

    // The picture's own size to start from, under "Custom".
    options_.front()->setChecked(true);
    width_->setText(QString::number(engine.imageWidth()));
    height_->setText(QString::number(engine.imageHeight()));

    connect(width_, &QLineEdit::textEdited, this, [this] { typed(true); });
    connect(height_, &QLineEdit::textEdited, this, [this] { typed(false); });
    connect(width_, &QLineEdit::returnPressed, this, &ResampleDialog::accept);
    connect(height_, &QLineEdit::returnPressed, this, &ResampleDialog::accept);
    selectAllOnFocus(width_);
    selectAllOnFocus(height_);
}

void ResampleDialog::typed(bool widthBox) {
    const imaging::ImagingEngine& engine = document_.engine();
    const viewer::SizeBoxes after = viewer::sizeBoxTyped(
        {width_->text(), height_->text()}, widthBox, {engine.imageWidth(), engine.imageHeight()},
        max_, aspect_->isChecked());
    QLineEdit* edited = widthBox ? width_ : height_;
    const int cursor = edited->cursorPosition();
    if (width_->text() != after.width)
        width_->setText(after.width);
    if (height_->text() != after.height)
        height_->setText(after.height);
    edited->setCursorPosition(std::min<int>(cursor, int(edited->text().size())));
    options_.front()->setChecked(true);
}

void ResampleDialog::accept() {
    setStatus(ui_, true);
    QSize size;
    const int chosen = [this] {
        for (int i = 0; i < options_.size(); ++i)
            if (options_[i]->isChecked())
                return i;
        return 0;
    }();
    if (chosen > 0) {
        size = viewer::resamplePresets().at(chosen - 1);
    } else if (const auto custom = viewer::customSize({width_->text(), height_->text()})) {
        size = *custom;
    } else {
        showMessage(ui_, viewer::kEnterDimensions);
        setStatus(ui_, false);
        return;
    }
    if (document_.engine().resample(size.width(), size.height()))
        document_.markModified();
    setStatus(ui_, false);
    QDialog::accept();
}

} // namespace dovi
