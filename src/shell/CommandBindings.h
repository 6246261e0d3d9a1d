#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Has every subsystem bind the rows of the menu table it owns: the one place
// that knows them all. A new subsystem adds its binder here.
void bindSubsystemCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
