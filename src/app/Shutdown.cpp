#include "app/Shutdown.h"

#include "app/ProgramFiles.h"
#include "app/Workspace.h"

namespace dovi {

void shutDown(Workspace& workspace) {
    workspace.saveSettings();
    emptyTempFolder(workspace.programFolder());
}

} // namespace dovi
