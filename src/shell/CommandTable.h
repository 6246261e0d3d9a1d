#pragma once
#include "app/CommandDispatcher.h"

#include <QList>
#include <QString>

namespace dovi {

// The main window's menu bar and toolbar, row by row: the index from a
// caption to the control whose operation it runs. Each subsystem binds the
// controls of its own rows (its *CommandBindings.cpp).

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

// Compares key case-sensitively with the toolbar keys in table order; the
// first equal one runs its menu control's operation. A key that matches none
// does nothing (false).
bool runToolbarKey(const CommandDispatcher& commands, const QString& key);

} // namespace dovi
