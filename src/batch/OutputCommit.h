#pragma once
#include "platform/FileResult.h"
#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace dovi::batch {

class RunFiles;

// One output of a run, ready to be written.
struct OutputCommit {
    int index = 0; // the source's place in the run
    QString source;
    platform::FileStamp sourceStamp; // the source as it was read
    QString target;
    QByteArray bytes;
    bool partial = false;      // the picture was decoded only in part
    bool deleteSource = false; // "Delete Original"
    // Runs once the output is on disk under its temporary name, just before
    // the checks that guard its commit (a seam for tests).
    std::function<void()> beforeCommit;
};

// Writes the output and, when asked, deletes the source: the one way every
// batch command puts a picture on disk. Refused, with nothing changed, when
// the output would replace its own source with a partly decoded picture or
// would replace a file the run wrote or has still to process; a source
// replaced or rewritten since it was read is neither overwritten in place
// nor deleted. The output is written atomically (see writeFileAtomically);
// the source is deleted only once its output is durably in its folder.
// The reason of a failure is a phrase for the log, after the separator.
platform::FileResult commitOutput(RunFiles& run, const OutputCommit& commit);

} // namespace dovi::batch
