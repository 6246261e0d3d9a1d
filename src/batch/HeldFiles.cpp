#include "batch/HeldFiles.h"

#include "app/Workspace.h"
#include "browser/BrowserState.h"

namespace dovi::batch {

void releaseHeldFiles(Workspace& ws) {
    ws.hold.clear();
    ws.hold.bypass = false;
    browser::updateCounters(ws);
    emit ws.holdListChanged();
}

} // namespace dovi::batch
