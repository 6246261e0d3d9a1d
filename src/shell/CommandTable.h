#pragma once
#include <QList>
#include <QString>
#include <functional>
#include <map>

namespace dovi {

// One item of the main window's menu bar. submenu is empty for items that sit
// directly in their menu; a caption "-" is a separator.
struct MenuCommand {
    QString menu;
    QString submenu;
    QString caption;
    QString shortcut;
    QString control; // the item's name, which also names its operation
};

// One toolbar button: its key, tooltip, the menu item whose operation it runs,
// and the freedesktop icon name it shows.
struct ToolbarCommand {
    QString key;
    QString tooltip;
    QString control;
    QString icon;
};

const QList<MenuCommand>& menuCommands();
const QList<ToolbarCommand>& toolbarCommands();

// Binds operations to menu controls and runs them. A command whose operation
// is not bound is not offered: menus and toolbar show only what works.
class CommandDispatcher {
public:
    void bind(const QString& control, std::function<void()> operation);
    bool isBound(const QString& control) const;
    // Runs the menu control's operation; false when nothing is bound to it.
    bool runControl(const QString& control) const;
    // Compares key case-sensitively with the toolbar keys in table order; the
    // first equal one runs. A key that matches none does nothing.
    bool runToolbarKey(const QString& key) const;

private:
    std::map<QString, std::function<void()>> operations_;
};

} // namespace dovi
