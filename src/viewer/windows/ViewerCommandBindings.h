#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// The viewer's rows of the main window's menus: batch "Buttonize".
void bindViewerCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
