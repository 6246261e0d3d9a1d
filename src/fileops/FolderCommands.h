#pragma once
#include <functional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

// The main window's commands that act on folders.
namespace dovi::fileops {

// Called when the folder tree must read its folders again (one was created
// or removed). The tree's model may watch the disk itself; then it is empty.
using FolderTreeRefresh = std::function<void()>;

// "Go to Startup Folder": the startup folder is shown and listed.
void defaultFolder(Workspace& ws);

// "Create Folder": asks for a name and creates it inside the folder shown,
// which stays the folder shown.
void newFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree = {});

// "Remove Folder": after "Remove <folder> ?", deletes the folder's listed
// files through the delete command and removes the folder itself (only an
// empty folder can go: nothing is removed recursively, no link followed).
// Then the parent folder is shown; when the folder would not go, "Path/File
// access error!" and the folder stays shown.
void removeFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree = {});

} // namespace dovi::fileops
