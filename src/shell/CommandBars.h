#pragma once
#include "shell/CommandTable.h"

#include <QMenuBar>
#include <QToolBar>

namespace dovi {

// Fills the menu bar and the toolbar from the command tables, offering only
// the commands whose operation is bound in the dispatcher. A separator is kept
// only between two offered items.
void buildMenus(QMenuBar* menuBar, const CommandDispatcher& dispatcher);
void buildToolbar(QToolBar* toolBar, const CommandDispatcher& dispatcher);

} // namespace dovi
