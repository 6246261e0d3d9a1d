#pragma once
#include "platform/FileResult.h"

#include <QString>

// Copying, moving, renaming and deleting files so that nothing is ever lost: a target is
// written under a temporary name beside it and put in place only when complete,
// a source is removed only once its copy is in place, and no call replaces an
// existing file unless told to.
namespace dovi::platform {

enum class Overwrite { Never, Replace };

// Copies the regular file source to target, keeping its permissions and
// modification time (reflink where the file system shares blocks, else
// copy_file_range, else read/write). A new name is created exclusively and
// written in place; an existing target is replaced by a temporary file in its
// folder renamed over it only after the last byte is written. Either way a
// failure (disk full, source gone) leaves an existing target untouched and no
// half-written file behind. With Overwrite::Never an existing target,
// even one that appears while copying, is never replaced.
FileResult copyFile(const QString& source, const QString& target, Overwrite overwrite);

// Moves source to target: a rename on one file system, otherwise a copy as
// above followed by removing the source once the copy is in place.
FileResult moveFile(const QString& source, const QString& target, Overwrite overwrite);

// How many flushes to disk (of a file or of a folder entry) the copies and
// moves of this process have made: a move across file systems makes two per
// file before it deletes the source.
int fileSyncCount();

// Renames from to to without ever replacing an existing file. A name that
// differs only in letter case from the same file (a case-insensitive file
// system) is renamed.
FileResult renameNoReplace(const QString& from, const QString& to);

// Deletes the file (or link: never what it points at) at path. Folders are
// refused.
FileResult deleteFile(const QString& path);

// True when both paths reach the same file as the file system sees it (same
// device and inode, links followed). A missing path is the same as nothing.
bool isSameFile(const QString& a, const QString& b);

} // namespace dovi::platform
