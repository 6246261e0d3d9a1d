#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds the file series commands (create a series, add to a series, clear the
// series history) to their menu controls, and so to their toolbar keys.
void bindSeriesCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
