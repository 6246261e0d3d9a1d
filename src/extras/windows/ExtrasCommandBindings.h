#pragma once
#include "app/CommandContext.h"
#include "extras/DesktopTools.h"

namespace dovi {

class CommandDispatcher;

// Binds quick links, preferences and the desktop commands (wallpaper,
// clipboard, run, file manager) to their menu controls, and so to their
// toolbar keys. The second form takes the desktop and its tools (tests).
void bindExtrasCommands(CommandDispatcher& commands, const CommandContext& context);
void bindExtrasCommands(CommandDispatcher& commands, const CommandContext& context,
                        extras::Desktop desktop, extras::DesktopTools tools, QString dataFolder);

} // namespace dovi
