#pragma once

namespace dovi {
class Workspace;
}

namespace dovi::batch {

// The held files were consumed by a batch or series command: the hold list is
// emptied and "Bypass Hold List" unticked.
void releaseHeldFiles(Workspace& ws);

} // namespace dovi::batch
