#pragma once
#include "app/Ui.h"

namespace dovi {

// A Ui for benchmarks: shows nothing, answers every question with one answer
// and every prompt with nothing.
class SilentUi : public Ui {
public:
    explicit SilentUi(Answer answer) : answer_(answer) {}

    Answer messageBox(const QString&, const QString&, MessageButtons, MessageIcon) override {
        return answer_;
    }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void setWaitCursor(bool) override {}
    void setIdleLight(bool) override {}
    void setProgressMode(int) override {}
    void setProgressCaption(const QString&) override {}
    void setProgressRange(int, int) override {}
    void setProgressValue(int) override {}
    void setCaption(const QString&) override {}
    void processEvents() override {}

private:
    Answer answer_;
};

} // namespace dovi
