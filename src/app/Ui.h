#pragma once
#include "app/CommandGate.h"

#include <QString>
#include <memory>
#include <optional>

namespace dovi {

enum class MessageIcon { None, Information, Warning, Question, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The answer codes callers store (6 Yes, 7 No, as the shared `lastAnswer` keeps them).
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Everything an operation asks of the screen goes through here: questions,
// messages, text entry, file and folder choosers, the main window's busy/idle
// state, progress bar and caption, and letting pending events run. The real one
// draws Qt dialogs and the main window's widgets; tests script one.
class Ui {
public:
    virtual ~Ui() = default;

    // A modal message box; returns the button pressed (Ok for a lone OK button).
    virtual Answer messageBox(const QString& title, const QString& text, MessageButtons buttons,
                              MessageIcon icon) = 0;
    // A text-entry box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& title, const QString& prompt,
                                             const QString& initial) = 0;
    // File and folder choosers; an empty string when cancelled. filter is a
    // Qt name filter list such as "Hold Lists (*.hld)".
    virtual QString chooseOpenFile(const QString& title, const QString& folder,
                                   const QString& filter) = 0;
    virtual QString chooseSaveFile(const QString& title, const QString& folder,
                                   const QString& filter) = 0;
    virtual QString chooseFolder(const QString& title, const QString& start) = 0;

    // The main window's busy state: the wait pointer, the idle light (red
    // "Busy" / green "Idle") and the progress bar's caption mode (1 busy, 0 fixed).
    virtual void setWaitCursor(bool on) = 0;
    virtual void setIdleLight(bool busy) = 0;
    virtual void setProgressMode(int mode) = 0;
    virtual void setProgressCaption(const QString& caption) = 0;
    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setCaption(const QString& caption) = 0;

    // Lets pending window events run (repaints, a Cancel or Escape press).
    virtual void processEvents() = 0;

    // One command at a time, and the owner of the busy state, shared by
    // everything that draws on this Ui (setStatus keeps it).
    CommandGate& commandGate() { return *gate_; }

private:
    std::shared_ptr<CommandGate> gate_ = std::make_shared<CommandGate>();
};

} // namespace dovi
