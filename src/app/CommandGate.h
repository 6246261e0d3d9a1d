#pragma once
#include <QObject>
#include <QString>

namespace dovi {

// One command at a time, and who holds the main window's busy state.
//
// A command that reads or changes files lets pending events run between
// files; without a gate, a menu item, shortcut or click handled there would
// start a second command inside the first. The dispatcher enters the gate
// before it runs a command and refuses the next while one runs.
//
// The busy state has an owner. A command's busy state lasts until the command
// ends (an "idle" from inside it, say from a helper it calls, changes nothing),
// and a late answer of the preview's worker ends only the busy state it set
// itself, never the one a command has taken over since.
class CommandGate : public QObject {
    Q_OBJECT
public:
    using Claim = quint64;

    bool isRunning() const { return running_; }
    // The running command's caption ("Copy File(s)"); empty when none runs or
    // it has none.
    const QString& runningCaption() const { return caption_; }

    // False, changing nothing, while another command runs.
    bool tryEnter(const QString& caption);
    void leave();

    // The claim holding the busy state; 0 when idle.
    Claim busyOwner() const { return owner_; }
    // A fresh claim takes the busy state over from whoever held it.
    Claim takeBusy() { return owner_ = ++lastClaim_; }
    // Ends the busy state; false when claim no longer holds it.
    bool dropBusy(Claim claim);

signals:
    void runningChanged(bool running);

private:
    bool running_ = false;
    QString caption_;
    Claim owner_ = 0;
    Claim lastClaim_ = 0;
};

} // namespace dovi
