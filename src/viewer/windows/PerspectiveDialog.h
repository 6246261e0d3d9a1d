#pragma once
#include <QDialog>
#include <QList>

class QRadioButton;
class QSlider;

namespace dovi {

class GeometryPreview;
class Ui;
namespace viewer {
class ViewerDocument;
}

// "Adjust Image Perspective": a direction and an amount, previewed on a
// small copy; Okay applies them to the viewer's picture.
class PerspectiveDialog : public QDialog {
    Q_OBJECT
public:
    PerspectiveDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui);

    QSlider* slider() const { return slider_; }
    // In the dialog's order: "Right to Left" ... "Top to Bottom".
    QRadioButton* option(int index) const { return options_.at(index); }
    GeometryPreview* preview() const { return preview_; }

    void accept() override;

private:
    int direction() const;
    void showPreview();

    viewer::ViewerDocument& document_;
    Ui& ui_;
    QList<QRadioButton*> options_;
    QSlider* slider_ = nullptr;
    GeometryPreview* preview_ = nullptr;
};

} // namespace dovi
