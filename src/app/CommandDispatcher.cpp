#include "app/CommandDispatcher.h"

#include <QStringList>

namespace dovi {

void CommandDispatcher::bind(const QString& control, std::function<void()> operation) {
    operations_[control] = std::move(operation);
}

bool CommandDispatcher::isBound(const QString& control) const {
    return operations_.count(control) != 0;
}

bool CommandDispatcher::runControl(const QString& control) const {
    const auto it = operations_.find(control);
    if (it == operations_.end())
        return false;
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
