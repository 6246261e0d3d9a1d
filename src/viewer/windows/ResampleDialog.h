#pragma once
#include "viewer/GeometryRules.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace dovi {

class Ui;
namespace viewer {
class ViewerDocument;
}

// "Resample Image": a preset size or a custom one, with "Maintain Aspect".
class ResampleDialog : public QDialog {
    Q_OBJECT
public:
    ResampleDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui);

    QLineEdit* widthBox() const { return width_; }
    QLineEdit* heightBox() const { return height_; }
    QCheckBox* aspectBox() const { return aspect_; }
    // 0 "Custom", then the presets from "1600 x 1200" to "640 x 480".
    QRadioButton* option(int index) const { return options_.at(index); }
    const viewer::MaxVals& maxVals() const { return max_; }

    // doResample; the dialog stays open when no size was given.
    void accept() override;

private:
    void typed(bool widthBox);

    viewer::ViewerDocument& document_;
    Ui& ui_;
    viewer::MaxVals max_;
    QList<QRadioButton*> options_;
    QCheckBox* aspect_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
};

} // namespace dovi
