#pragma once
#include "app/CommandContext.h"

namespace dovi {

class CommandDispatcher;

// Binds the slideshow command (menu "View Slideshow", toolbar "slideshow").
void bindSlideshowCommands(CommandDispatcher& commands, const CommandContext& context);

} // namespace dovi
