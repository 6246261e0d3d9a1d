#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds "Process Image File(s)" and the six batch filters to their menu
// controls, and so to their toolbar keys.
void bindBatchCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
