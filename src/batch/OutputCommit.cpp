#include "batch/OutputCommit.h"

#include "batch/RunFiles.h"
#include "platform/AtomicWrite.h"
#include "platform/FileCopy.h"
#include "platform/SameFile.h"

#include <sys/stat.h>

namespace dovi::batch {

using platform::FileResult;

namespace {
const QString kChangedInPlace = QStringLiteral("changed since it was read; left as it is");
}

FileResult commitOutput(RunFiles& run, const OutputCommit& c) {
    const bool inPlace = platform::sameFile(c.source, c.target);
    if (inPlace && c.partial)
        return FileResult::failed(
            QStringLiteral("only part of the picture could be read; not saved over its file"));
    if (const QString why = run.refusal(c.index, c.target); !why.isEmpty())
        return FileResult::failed(QStringLiteral("not saved as ") + c.target +
                                  QStringLiteral(": ") + why);

    bool sourceChanged = false;
    platform::AtomicWriteOptions options;
    // The owner's write bit: a read-only file rewritten is writable after,
    // as if its attributes had been cleared to overwrite it.
    options.addedModeBits = S_IWUSR;
    options.beforeReplace = [&] {
        if (c.beforeCommit)
            c.beforeCommit();
        // Overwriting a file another program changed since it was read would
        // lose that change.
        sourceChanged = inPlace && platform::stampOf(c.source) != c.sourceStamp;
        return sourceChanged ? FileResult::failed(kChangedInPlace) : FileResult::done();
    };
    platform::FileStamp written;
    const FileResult saved = platform::writeFileAtomically(c.target, c.bytes, options, &written);
    if (sourceChanged)
        return saved;
    if (!saved.ok)
        return FileResult::failed(QStringLiteral("could not be saved as ") + c.target +
                                      QStringLiteral(": ") + saved.reason,
                                  saved.error);
    run.wrote(c.target, written);
    if (!c.deleteSource || inPlace)
        return FileResult::done();

    const QString savedAs = QStringLiteral("saved as ") + c.target;
    // The output holds only what could be read; the rest may still be in
    // the original's bytes.
    if (c.partial)
        return FileResult::failed(savedAs + QStringLiteral(", but only part of the picture could "
                                                           "be read and the original was kept"));
    if (platform::stampOf(c.source) != c.sourceStamp)
        return FileResult::failed(savedAs +
                                  QStringLiteral(", but the original changed since it was read "
                                                 "and was kept"));
    // The new name must be on disk before the old file goes.
    if (const FileResult synced = platform::syncFolderOf(c.target); !synced.ok)
        return FileResult::failed(savedAs + QStringLiteral(", but not made safe on disk (") +
                                      synced.reason + QStringLiteral("); the original was kept"),
                                  synced.error);
    if (const FileResult removed = platform::deleteFile(c.source); !removed.ok)
        return FileResult::failed(savedAs +
                                      QStringLiteral(", but the original could not be "
                                                     "deleted: ") +
                                      removed.reason,
                                  removed.error);
    return FileResult::done();
}

} // namespace dovi::batch
