#pragma once
#include "viewer/LatestOnly.h"
#include "viewer/TrialSession.h"

#include <QDialog>
#include <functional>

class QSlider;

namespace dovi {

namespace viewer {
class ViewerDocument;
}

// What the slider dialogs share: trials run on the viewer's picture as the
// sliders move (only the newest waiting one), Okay keeps the last trial and
// Cancel puts the picture back as the dialog found it.
class TrialDialog : public QDialog {
    Q_OBJECT
public:
    // Runs a trial still waiting for the event loop (tests, Okay).
    void settle() { trials_.flush(); }

    void accept() override;
    void reject() override;

protected:
    // shown: redraws the viewer after each trial.
    TrialDialog(QWidget* parent, viewer::ViewerDocument& document, Ui& ui,
                std::function<void()> shown);

    QSlider* makeSlider(const viewer::SliderSetup& setup, const char* name);
    void postTrial(std::function<void()> trial) { trials_.post(std::move(trial)); }
    void trialShown() {
        if (shown_)
            shown_();
    }

    viewer::TrialSession session_;

private:
    viewer::ViewerDocument& document_;
    viewer::LatestOnly trials_;
    std::function<void()> shown_;
};

} // namespace dovi
