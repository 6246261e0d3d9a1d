#pragma once
#include "app/Ui.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>

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
        bool operator==(const Prompt&) const = default;
        friend void PrintTo(const Prompt& p, std::ostream* os) {
            *os << "{\"" << p.title.toStdString() << "\", \"" << p.text.toStdString() << "\", "
                << int(p.buttons) << ", " << int(p.icon) << "}";
        }
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
    int progressValue = 0;
    int eventsProcessed = 0;
    std::function<void()> onEvents; // runs whenever events are let through (a click mid-run)

    // Texts of every message box so far, in order.
    QStringList promptTexts() const;

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
    void setProgressMode(int) override {}
    void setProgressCaption(const QString& caption) override { progressCaptions << caption; }
    void setProgressRange(int, int) override {}
    void setProgressValue(int value) override { progressValue = value; }
    void setCaption(const QString& caption) override { captions << caption; }
    void processEvents() override {
        ++eventsProcessed;
        if (onEvents)
            onEvents();
    }

private:
    QString nextPath();
};

// Whole prompts of the kinds the program shows, to compare with what was shown.
using Prompts = QList<ScriptedUi::Prompt>;
inline ScriptedUi::Prompt question(const QString& title, const QString& text,
                                   MessageButtons buttons = MessageButtons::YesNo) {
    return {title, text, buttons, MessageIcon::Question};
}
inline ScriptedUi::Prompt warning(const QString& text) {
    return {QStringLiteral("Orvane"), text, MessageButtons::Ok, MessageIcon::Warning};
}
inline ScriptedUi::Prompt errorReport(const QString& text) {
    return {QStringLiteral("Errors"), text, MessageButtons::Ok, MessageIcon::Information};
}

} // namespace dovi::test
