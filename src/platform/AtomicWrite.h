#pragma once
#include "platform/FileResult.h"
#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace dovi::platform {

struct AtomicWriteOptions {
    // Permission bits added to those the file gets (owner write, 0200, gives
    // a read-only file replaced in place the cleared attributes it was
    // rewritten with).
    unsigned addedModeBits = 0;
    // Called once the new content is on disk under its temporary name, just
    // before it takes the file's name. A failure stops the write there: the
    // file at path stays as it was and the temporary file goes.
    std::function<FileResult()> beforeReplace;
};

// Writes data as the file at path: into a new temporary file in the same
// folder, flushed to disk, then renamed over path in one step. A failure at
// any point (full disk, unwritable folder) leaves whatever was at path as it
// was, with its permissions, and no temporary file behind; a reader sees the
// old file or the new, never a mix. A symbolic link at path is replaced
// itself, never written through. A regular file replaced keeps its owner,
// group and permission bits; a file of another user whose owner cannot be
// kept (only root may give a file away) is not replaced. written, when
// given, receives the stamp of the new file.
FileResult writeFileAtomically(const QString& path, const QByteArray& data,
                               const AtomicWriteOptions& options = {},
                               FileStamp* written = nullptr);

// Flushes the folder holding path to disk, so that a name made or replaced
// in it survives a crash (before, say, the original of a copy is deleted).
FileResult syncFolderOf(const QString& path);

} // namespace dovi::platform
