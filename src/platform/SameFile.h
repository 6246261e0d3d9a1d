#pragma once
#include <QString>

namespace dovi::platform {

// A key naming the file a path leads to, whether or not it exists yet: the
// real (link-resolved) folder plus the name. Names that differ in case are
// different files, as on any Linux file system.
QString pathIdentity(const QString& path);

// True when both paths lead to the same file: the same identity, or (both
// existing) the same device and inode, which also catches hard links.
bool sameFile(const QString& a, const QString& b);

} // namespace dovi::platform
