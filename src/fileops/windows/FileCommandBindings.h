#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds copy, move, delete, rename, extension conformity, the detailed list
// and the folder commands to their menu controls (and so to their toolbar keys).
void bindFileCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
