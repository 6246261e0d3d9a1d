#include "platform/FileStamp.h"

#include "platform/NativePath.h"

#include <sys/stat.h>

namespace dovi::platform {

FileStamp stampFrom(const struct stat& facts) {
    FileStamp s;
    s.exists = true;
    s.size = facts.st_size;
    s.modifiedNs = qint64(facts.st_mtim.tv_sec) * 1000000000 + facts.st_mtim.tv_nsec;
    s.device = facts.st_dev;
    s.inode = facts.st_ino;
    return s;
}

FileStamp stampOf(const QString& path) {
    struct stat facts {};
    if (::stat(nativePath(path).constData(), &facts) != 0)
        return {};
    return stampFrom(facts);
}

FileStamp entryStampOf(const QString& path) {
    struct stat facts {};
    if (::lstat(nativePath(path).constData(), &facts) != 0)
        return {};
    return stampFrom(facts);
}

} // namespace dovi::platform
