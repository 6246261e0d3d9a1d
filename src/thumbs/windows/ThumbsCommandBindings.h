#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds the thumbnail viewer (menu "View Thumbnails", toolbar "thumbs").
void bindThumbsCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
