#pragma once
#include <QDialog>
#include <QTimer>

class QLineEdit;
class QRadioButton;

namespace dovi {

class GeometryPreview;
class Ui;
namespace viewer {
class ViewerDocument;
}

// "Rotate Image": a number of degrees, previewed 1.5 s after the last change
// on a small copy that always starts again from the unrotated picture.
class RotateDialog : public QDialog {
    Q_OBJECT
public:
    RotateDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui);

    QLineEdit* degreeBox() const { return degree_; }
    QRadioButton* option(int index) const { return options_.at(index); }
    QTimer& previewTimer() { return timer_; }
    GeometryPreview* preview() const { return preview_; }

    void accept() override;

private:
    void showPreview();

    viewer::ViewerDocument& document_;
    Ui& ui_;
    QList<QRadioButton*> options_;
    QLineEdit* degree_ = nullptr;
    GeometryPreview* preview_ = nullptr;
    QTimer timer_;
};

} // namespace dovi
