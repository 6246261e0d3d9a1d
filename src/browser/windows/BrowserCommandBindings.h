#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds the hold list commands (open, save, add, remove, clear, go to the
// held path) and "Running History" to their menu controls, and so to their
// toolbar keys.
void bindBrowserCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
