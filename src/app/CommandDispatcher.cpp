#include "app/CommandDispatcher.h"

#include "app/SharedServices.h"
#include "app/Ui.h"

#include <QStringList>

namespace dovi {

namespace {

// Leaves the gate however the command ends, and ends a busy state the command
// left behind (one that returned early between its busy and idle calls).
class GateTicket {
public:
    explicit GateTicket(Ui& ui) : ui_(ui) {}
    ~GateTicket() {
        CommandGate& gate = ui_.commandGate();
        gate.leave();
        if (gate.busyOwner() != 0)
            setStatus(ui_, false);
    }
    GateTicket(const GateTicket&) = delete;
    GateTicket& operator=(const GateTicket&) = delete;

private:
    Ui& ui_;
};

} // namespace

QString commandRefusedText(const QString& runningCaption) {
    if (runningCaption.isEmpty())
        return QStringLiteral("Please wait until the running command has finished.");
    return QStringLiteral("Please wait: ") + runningCaption + QStringLiteral(" is still running.");
}

void CommandDispatcher::bind(const QString& control, std::function<void()> operation) {
    operations_[control] = std::move(operation);
}

bool CommandDispatcher::isBound(const QString& control) const {
    return operations_.count(control) != 0;
}

void CommandDispatcher::describe(const QString& control, const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    captions_[control] = plain;
}

void CommandDispatcher::allowWhileRunning(const QString& control) {
    free_.insert(control);
}

bool CommandDispatcher::runControl(const QString& control) const {
    const auto it = operations_.find(control);
    if (it == operations_.end())
        return false;
    if (!ui_ || free_.contains(control)) {
        it->second();
        return true;
    }
    CommandGate& gate = ui_->commandGate();
    const auto caption = captions_.find(control);
    if (!gate.tryEnter(caption == captions_.end() ? QString() : caption->second)) {
        showMessage(*ui_, commandRefusedText(gate.runningCaption()));
        return false;
    }
    const GateTicket ticket(*ui_);
    it->second();
    return true;
}

QStringList CommandDispatcher::boundControls() const {
    QStringList controls;
    for (const auto& [control, operation] : operations_)
        controls << control;
    return controls;
}

} // namespace dovi
