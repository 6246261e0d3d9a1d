#pragma once
#include <QSet>
#include <QString>
#include <functional>
#include <map>

namespace dovi {

class Ui;

// Menu controls (the name of a menu item, "mnucopy") and the operations bound
// to them. Each subsystem binds its own rows; the shell offers only the
// controls that are bound, so menus and toolbar show only what works.
//
// Built over a Ui, it runs one command at a time: a command asked for while
// another runs (a shortcut or menu item handled while a copy lets events
// through) is refused with a short message, and the first keeps its busy
// state, caption and progress to its end.
class CommandDispatcher {
public:
    // Runs every command as asked, with no gate (binder tests).
    CommandDispatcher() = default;
    explicit CommandDispatcher(Ui& ui) : ui_(&ui) {}

    void bind(const QString& control, std::function<void()> operation);
    bool isBound(const QString& control) const;
    // The caption a running command shows on the progress bar and in the
    // refusal message ("Copy File(s)").
    void describe(const QString& control, const QString& caption);
    // A control that neither reads nor changes files (the running history
    // window, the about box) runs even while a command does.
    void allowWhileRunning(const QString& control);

    // Runs the menu control's operation; false when nothing is bound to it or
    // it was refused because another command runs.
    bool runControl(const QString& control) const;
    // Every bound control, in name order.
    QStringList boundControls() const;

private:
    std::map<QString, std::function<void()>> operations_;
    std::map<QString, QString> captions_;
    QSet<QString> free_;
    Ui* ui_ = nullptr;
};

// "Please wait: Copy File(s) is still running."
QString commandRefusedText(const QString& runningCaption);

} // namespace dovi
