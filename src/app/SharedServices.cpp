#include "app/SharedServices.h"

#include "platform/FileAttributes.h"

namespace dovi {

namespace {

void showStatus(Ui& ui, bool busy) {
    ui.setWaitCursor(busy);
    ui.setIdleLight(busy);
    ui.setProgressMode(busy ? 1 : 0);
    // Busy shows the running command's caption; the window drops the idle
    // caption when it enters busy mode, so busy work that sets no caption of
    // its own shows its percentage, never "Dovi - Idle".
    if (!busy)
        ui.setProgressCaption(kIdleCaption);
    else if (ui.commandGate().isRunning())
        ui.setProgressCaption(ui.commandGate().runningCaption());
    ui.setProgressValue(0);
}

} // namespace

void setStatus(Ui& ui, bool busy) {
    CommandGate& gate = ui.commandGate();
    if (busy) {
        gate.takeBusy();
    } else {
        if (gate.isRunning() && gate.busyOwner() != 0)
            return;
        gate.dropBusy(gate.busyOwner());
    }
    showStatus(ui, busy);
}

CommandGate::Claim claimBusy(Ui& ui) {
    CommandGate& gate = ui.commandGate();
    if (gate.isRunning())
        return 0;
    const CommandGate::Claim claim = gate.takeBusy();
    showStatus(ui, true);
    return claim;
}

void releaseBusy(Ui& ui, CommandGate::Claim claim) {
    if (ui.commandGate().dropBusy(claim))
        showStatus(ui, false);
}

void showMessage(Ui& ui, const QString& text) {
    ui.messageBox(kMessageTitle, text, MessageButtons::Ok, MessageIcon::Warning);
}

bool fileExists(const QString& path) {
    return platform::pathExists(path);
}

void clearAttributes(const QString& path) {
    if (fileExists(path))
        platform::makeOwnerWritable(path);
}

} // namespace dovi
