#pragma once
#include "platform/FileResult.h"

#include <QString>

// The freedesktop trash: one request per file.
namespace dovi::platform {

// Moves the file at path into the trash of the file system it lives on and
// records where it came from, so a file manager can restore it:
//   on the file system of the user's data folder: $XDG_DATA_HOME/Trash
//   elsewhere: $topdir/.Trash/$uid (when $topdir/.Trash is a sticky folder,
//   not a link) or else $topdir/.Trash-$uid, $topdir being that mount's root.
// The entry's info file (info/NAME.trashinfo) is written first, with Path= the
// URL-encoded original path (absolute in the home trash, relative to $topdir
// in a $topdir trash) and DeletionDate= the local time. The file itself is
// renamed, never copied: when no trash on its own file system can take it, the
// request fails and the file stays where it was. A link is trashed as a link.
FileResult moveToTrash(const QString& path);

// The trash folder (holding files/ and info/) that moveToTrash would use for
// path, creating it when needed; empty when none can be had.
QString trashFolderFor(const QString& path);

} // namespace dovi::platform
