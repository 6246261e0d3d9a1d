#pragma once
#include <QString>

// The four file attributes as they read on Linux:
//   hidden    the name starts with "."
//   read-only the user may not write the file
//   system    not a regular file (FIFO, socket, device)
//   archive   every regular file
namespace dovi::platform {

struct FileAttributes {
    bool hidden = false;
    bool readOnly = false;
    bool system = false;
    bool archive = false;
};

// Attributes of the entry at path (links are followed, as a file manager
// shows what a link points at). A missing path reads as no attributes.
FileAttributes attributesOf(const QString& path);

// True when an entry of exactly this name exists: a file, folder or link
// (even a dangling one). Wildcard characters are ordinary characters of the
// name. "" is false.
bool pathExists(const QString& path);

// Makes a file writable by its owner so it can be overwritten, renamed or
// deleted. A hidden name stays as it is; links are never followed (the target
// may lie outside the folder being worked on); every error is ignored.
void makeOwnerWritable(const QString& path);

} // namespace dovi::platform
