#pragma once

namespace dovi {

class Workspace;

// What closing the main window and the quit command share once the quick
// links and history windows are closed: save every setting, then delete the
// plain files of "Temp".
void shutDown(Workspace& workspace);

} // namespace dovi
