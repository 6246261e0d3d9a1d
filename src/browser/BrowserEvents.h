#pragma once

namespace dovi {
class Workspace;
}

// What the folder tree and the file list do when the user acts on them. The
// window only recognises the gesture and calls one of these.
namespace dovi::browser {

class Preview;

// Left button released in the file list (and any key other than Space): the
// selection is refreshed; exactly one file selected is previewed, anything
// else shows the logo.
void fileListReleased(Workspace& ws, Preview& preview);

// A key released in the file list: Space adds the selection (as it stood at
// its last refresh) to the hold list; any other key acts as a left release.
void fileListKeyReleased(Workspace& ws, Preview& preview, int key);

// Right button pressed in the file list: the selection goes to the hold list,
// without refreshing it first.
void fileListRightPressed(Workspace& ws);

// A click on the tree re-reads the list, unless a right-button press has just
// marked it to be skipped (the mark is cleared then).
void folderTreeClicked(Workspace& ws, Preview& preview);

// Right button on the tree: marks the next click to leave the list alone.
void folderTreeRightPressed(Workspace& ws);

// The folder shown changed on disk: read the list again (the selection is
// kept where its files still exist). When the folder itself has gone, its
// nearest existing parent is shown instead.
void followFolderOnDisk(Workspace& ws);

} // namespace dovi::browser
