#pragma once
#include <QString>
#include <QStringList>
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

// Why folder cannot be removed once its listed files are deleted: it holds
// sub-folders, hidden or other files the list does not show, or the user may
// not delete its entries or the folder. Empty when it can go.
QString folderRemovalBlock(const QString& folder, const QStringList& listed);

// "Go to Startup Folder": the startup folder is shown and listed (the home
// folder, as at start, when it has gone).
void defaultFolder(Workspace& ws);

// "Create Folder": asks for a name and creates it inside the folder shown,
// which stays the folder shown.
void newFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree = {});

// "Remove Folder": first checks that the folder could go at all (else names
// the reason and touches nothing); after "Remove <folder> ?", deletes the
// folder's files through the delete command and removes the folder itself
// (nothing is removed recursively, no link followed).
// Then the parent folder is shown; when the folder would not go, "Path/File
// access error!" and the folder stays shown.
void removeFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree = {});

} // namespace dovi::fileops
