#pragma once

namespace dovi {

class Workspace;
class Ui;

// Fills ws.targets with the full paths every file command acts on: the hold
// list unless "Bypass Hold List" is ticked, else the selection, else every
// listed file. With none of them: "No files to action!" and
// ws.actionListEmpty, after which the caller does nothing more.
void buildActionList(Workspace& ws, Ui& ui);

} // namespace dovi
