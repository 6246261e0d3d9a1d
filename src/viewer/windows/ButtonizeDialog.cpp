#include "viewer/windows/ButtonizeDialog.h"

#include "viewer/ViewerDocument.h"
#include "viewer/windows/DialogButtons.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace dovi {

namespace {

QSlider* percentSlider(QWidget* parent, const char* name, int start) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(0, 100);
    slider->setValue(start);
    slider->setMinimumWidth(260);
    return slider;
}

QLineEdit* valueBox(QWidget* parent, const char* name, int value) {
    auto* box = new QLineEdit(QString::number(value), parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setMaximumWidth(50);
    return box;
}

} // namespace

ButtonizeDialog::ButtonizeDialog(QWidget* parent, viewer::ViewerDocument* document, Ui& ui,
                                 std::function<void()> shown)
    : QDialog(parent), document_(document), trials_(this), shown_(std::move(shown)) {
    setWindowTitle(QStringLiteral("Buttonize Image"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const viewer::ButtonizeSettings defaults;
    width_ = percentSlider(this, "slideWidth", defaults.width);
    intensity_ = percentSlider(this, "slideInten", defaults.intensity);
    widthText_ = valueBox(this, "txtWidth", defaults.width);
    intensityText_ = valueBox(this, "txtInten", defaults.intensity);
    auto row = [this](QSlider* slider, QLineEdit* box) {
        auto* h = new QHBoxLayout;
        h->addWidget(slider, 1);
        h->addWidget(box);
        return h;
    };
    form->addRow(QStringLiteral("Width"), row(width_, widthText_));
    form->addRow(QStringLiteral("Intensity"), row(intensity_, intensityText_));
    layout->addLayout(form);
    auto* styles = new QGroupBox(QStringLiteral("Style"), this);
    auto* styleRow = new QHBoxLayout(styles);
    raised_ = new QRadioButton(QStringLiteral("Raised"), styles);
    inset_ = new QRadioButton(QStringLiteral("Inset"), styles);
    raised_->setChecked(true);
    styleRow->addWidget(raised_);
    styleRow->addWidget(inset_);
    layout->addWidget(styles);
    addOkayCancelBar(this);

    connect(width_, &QSlider::valueChanged, this, [this](int v) {
        widthText_->setText(QString::number(v));
        if (session_)
            trials_.post([this] { tryNow(); });
    });
    connect(intensity_, &QSlider::valueChanged, this, [this](int v) {
        intensityText_->setText(QString::number(v));
        if (session_)
            trials_.post([this] { tryNow(); });
    });
    connect(raised_, &QRadioButton::toggled, this, [this] {
        if (session_)
            trials_.post([this] { tryNow(); });
    });

    if (document_) {
        // Over the viewer the default effect shows as soon as the dialog opens.
        session_.emplace(document_->engine(), ui);
        tryNow();
    }
}

viewer::ButtonizeSettings ButtonizeDialog::settings() const {
    return {raised_->isChecked() ? 1 : 0, width_->value(), intensity_->value()};
}

void ButtonizeDialog::tryNow() {
    const viewer::ButtonizeSettings s = settings();
    session_->tryButtonize(s.style, s.width, s.intensity);
    if (shown_)
        shown_();
}

void ButtonizeDialog::accept() {
    trials_.flush();
    if (session_ && session_->keep())
        document_->markModified();
    QDialog::accept();
}

void ButtonizeDialog::reject() {
    trials_.drop();
    if (session_) {
        session_->discard();
        if (shown_)
            shown_();
    }
    QDialog::reject();
}

} // namespace dovi
