#pragma once
#include <QString>

struct stat;

namespace dovi::platform {

// Which file a name led to and what it looked like then: enough to tell later
// whether it is still the very same, unchanged file.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
    // The same file on disk, changed or not.
    bool sameFileAs(const FileStamp& other) const {
        return exists && other.exists && device == other.device && inode == other.inode;
    }
};

FileStamp stampFrom(const struct stat& facts);
// The file path leads to (links followed); not existing when there is none.
FileStamp stampOf(const QString& path);
// The entry itself, a link rather than what it points at.
FileStamp entryStampOf(const QString& path);

} // namespace dovi::platform
