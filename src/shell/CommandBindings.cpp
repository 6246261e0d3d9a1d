#include "shell/CommandBindings.h"

#include "about/windows/AboutCommandBindings.h"
#include "batch/windows/BatchCommandBindings.h"
#include "browser/windows/BrowserCommandBindings.h"
#include "extras/windows/ExtrasCommandBindings.h"
#include "fileops/windows/FileCommandBindings.h"
#include "series/windows/SeriesCommandBindings.h"
#include "slideshow/windows/SlideshowCommandBindings.h"
#include "thumbs/windows/ThumbsCommandBindings.h"
#include "viewer/windows/ViewerCommandBindings.h"

namespace dovi {

void bindSubsystemCommands(CommandDispatcher& commands, const CommandContext& context) {
    bindBrowserCommands(commands, context);
    bindFileCommands(commands, context);
    bindBatchCommands(commands, context);
    bindSeriesCommands(commands, context);
    bindSlideshowCommands(commands, context);
    bindThumbsCommands(commands, context);
    bindViewerCommands(commands, context);
    bindExtrasCommands(commands, context);
    bindAboutCommands(commands, context);
}

} // namespace dovi
