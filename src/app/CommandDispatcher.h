#pragma once
#include <QString>
#include <functional>
#include <map>

namespace dovi {

// Menu controls (the name of a menu item, "mnucopy") and the operations bound
// to them. Each subsystem binds its own rows; the shell offers only the
// controls that are bound, so menus and toolbar show only what works.
class CommandDispatcher {
public:
    void bind(const QString& control, std::function<void()> operation);
    bool isBound(const QString& control) const;
    // Runs the menu control's operation; false when nothing is bound to it.
    bool runControl(const QString& control) const;
    // Every bound control, in name order.
    QStringList boundControls() const;

private:
    std::map<QString, std::function<void()>> operations_;
};

} // namespace dovi
