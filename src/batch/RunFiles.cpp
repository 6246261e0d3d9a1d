#include "batch/RunFiles.h"

#include "platform/SameFile.h"

namespace dovi::batch {

RunFiles::RunFiles(const QStringList& sources) {
    sourceKeys_.reserve(sources.size());
    sourceStamps_.reserve(sources.size());
    for (const QString& source : sources) {
        sourceKeys_ << platform::pathIdentity(source);
        sourceStamps_ << platform::stampOf(source);
        allSourceKeys_.insert(sourceKeys_.last());
        if (sourceStamps_.last().exists)
            allSourceInodes_.insert(inodeOf(sourceStamps_.last()));
    }
}

QString RunFiles::refusal(int index, const QString& target) const {
    const QString key = platform::pathIdentity(target);
    // The entry itself, not what a link there points at: a link is replaced.
    const platform::FileStamp there = platform::entryStampOf(target);
    const bool inodeKnown = there.exists;
    if (writtenKeys_.contains(key) || (inodeKnown && writtenInodes_.contains(inodeOf(there))))
        return QStringLiteral("this run has already written that file");
    const bool ownName = key == sourceKeys_[index];
    const bool ownFile = sourceStamps_[index].sameFileAs(there);
    if (!ownName && !ownFile &&
        (allSourceKeys_.contains(key) || (inodeKnown && allSourceInodes_.contains(inodeOf(there)))))
        return QStringLiteral("that file is another file of this run");
    return {};
}

void RunFiles::wrote(const QString& target, const platform::FileStamp& stamp) {
    writtenKeys_.insert(platform::pathIdentity(target));
    if (stamp.exists)
        writtenInodes_.insert(inodeOf(stamp));
}

} // namespace dovi::batch
