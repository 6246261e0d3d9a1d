#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds "About Dovi" to its menu control.
void bindAboutCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
