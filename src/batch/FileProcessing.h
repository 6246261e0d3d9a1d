#pragma once
#include "batch/OutputNaming.h"

#include <QByteArray>
#include <QString>

namespace dovi::batch {

struct ProcessOptions;

// What a source file looked like when it was read: a commit compares it with
// the file as it is now, to tell whether work done ahead of time still holds.
struct SourceStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const SourceStamp&) const = default;
};

SourceStamp stampOf(const QString& path);

// What the pixel work for one source file came to, before anything is written.
struct PreparedFile {
    enum class Kind {
        Unsupported,   // not an image in a format Dovi reads
        Failed,        // an image that could not be read, resampled or encoded
        NotRequired,   // no scaling needed; saved only for the alternate format
        Marked,        // resampled (or "Convert Only"): saved and logged complete
    };
    Kind kind = Kind::Unsupported;
    QString reason;        // for Failed
    bool save = false;     // bytes hold the file to write at target
    OutputTarget target;
    QByteArray bytes;
    SourceStamp source;    // the file as it was read
};

// Loads, scales and encodes one file in memory. Pure work with no side
// effect on disk, so it may run on any thread ahead of the commit.
PreparedFile prepareFile(const QString& source, const ProcessOptions& options);

// The file a processed source may be written to, known before decoding: the
// source itself in place, or the alternate name and folder.
QString potentialOutputPath(const QString& source, const ProcessOptions& options);

} // namespace dovi::batch
