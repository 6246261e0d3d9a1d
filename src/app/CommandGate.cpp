#include "app/CommandGate.h"

namespace dovi {

bool CommandGate::tryEnter(const QString& caption) {
    if (running_)
        return false;
    running_ = true;
    caption_ = caption;
    emit runningChanged(true);
    return true;
}

void CommandGate::leave() {
    if (!running_)
        return;
    running_ = false;
    caption_.clear();
    emit runningChanged(false);
}

bool CommandGate::dropBusy(Claim claim) {
    if (claim == 0 || claim != owner_)
        return false;
    owner_ = 0;
    return true;
}

} // namespace dovi
