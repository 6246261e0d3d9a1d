#pragma once
#include <QString>

class QFileSystemModel;
class QTreeView;

namespace dovi {

// Makes folder the tree's current item, unfolding its parents and scrolling it
// into view, and keeps it in view while the model is still reading the folders
// on the way, until the user touches the tree. A folder deep in a tree that has
// not been opened yet is found too; a trailing "/" is allowed. False, and
// nothing changed, when the folder is not there.
bool revealFolder(QTreeView& tree, QFileSystemModel& model, const QString& folder);

} // namespace dovi
