#pragma once
#include "app/Ui.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace dovi::test {

// A Ui for tests: answers from queues and records every prompt and state
// change, so a test can assert exact texts and their order.
class ScriptedUi : public Ui {
public:
    struct Prompt {
        QString title;
        QString text;
        MessageButtons buttons;
        MessageIcon icon;
    };

    // Queued answers, taken in order. With the queue empty a box answers Ok
    // (lone OK button) or No, a text box is cancelled and a chooser cancelled.
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> texts;
    std::deque<QString> chosenPaths;

    QList<Prompt> prompts;
    QStringList inputPrompts;
    QStringList captions;
    QStringList progressCaptions;
    bool waitCursor = false;
    bool idleLightBusy = false;
    int progressMode = 0;
    int progressMinimum = 0;
    int progressMaximum = 100;
    int progressValue = 0;
    QList<int> progressValues;
    QStringList inputPresets; // the preset text of every input box
    int eventsProcessed = 0;
    std::function<void()> onEvents; // runs whenever events are let through (a click mid-run)

    // Texts of every message box so far, in order.
    QStringList promptTexts() const;
    int highestProgress() const;

    Answer messageBox(const QString& title, const QString& text, MessageButtons buttons,
                      MessageIcon icon) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString chooseOpenFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& start) override;
    void setWaitCursor(bool on) override { waitCursor = on; }
    void setIdleLight(bool busy) override { idleLightBusy = busy; }
    void setProgressMode(int mode) override { progressMode = mode; }
    void setProgressCaption(const QString& caption) override { progressCaptions << caption; }
    void setProgressRange(int minimum, int maximum) override {
        progressMinimum = minimum;
        progressMaximum = maximum;
    }
    void setProgressValue(int value) override {
        progressValue = value;
        progressValues << value;
    }
    void setCaption(const QString& caption) override { captions << caption; }
    void processEvents() override {
        ++eventsProcessed;
        if (onEvents)
            onEvents();
    }

private:
    QString nextPath();
};

} // namespace dovi::test
