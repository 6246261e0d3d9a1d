#pragma once
#include "viewer/BatchButtonize.h"
#include "viewer/LatestOnly.h"
#include "viewer/TrialSession.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;
class QRadioButton;
class QSlider;

namespace dovi {

namespace viewer {
class ViewerDocument;
}

// "Buttonize Image". Over the viewer (document given) it shows the effect at
// once and follows every change; in batch mode (no document) it only picks
// the settings the main window's run applies to the action list.
class ButtonizeDialog : public QDialog {
    Q_OBJECT
public:
    ButtonizeDialog(QWidget* parent, viewer::ViewerDocument* document, Ui& ui,
                    std::function<void()> shown = {});

    viewer::ButtonizeSettings settings() const;
    QSlider* widthSlider() const { return width_; }
    QSlider* intensitySlider() const { return intensity_; }
    QRadioButton* insetOption() const { return inset_; }
    void settle() { trials_.flush(); }

    void accept() override;
    void reject() override;

private:
    void tryNow();

    viewer::ViewerDocument* document_;
    std::optional<viewer::TrialSession> session_;
    viewer::LatestOnly trials_;
    std::function<void()> shown_;
    QSlider* width_ = nullptr;
    QSlider* intensity_ = nullptr;
    QLineEdit* widthText_ = nullptr;
    QLineEdit* intensityText_ = nullptr;
    QRadioButton* raised_ = nullptr;
    QRadioButton* inset_ = nullptr;
};

} // namespace dovi
