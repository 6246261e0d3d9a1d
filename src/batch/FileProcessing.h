#pragma once
#include "batch/OutputNaming.h"
#include "imaging/LargeBuffers.h"
#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace dovi::batch {

struct ProcessOptions;

// What a source file looked like when it was read: a commit compares it with
// the file as it is now, to tell whether work done ahead of time still holds.
using SourceStamp = platform::FileStamp;

// The whole of a source file, read without ever waiting on it (a FIFO or
// device is refused at once), with the stamp of the very file read.
struct SourceRead {
    std::optional<imaging::LargeBuffer> data; // empty when it could not be read
    QString error;
    bool notRegular = false; // a folder, FIFO, socket or device
    SourceStamp stamp;
};
SourceRead readSource(const QString& path);

// What the pixel work for one source file came to, before anything is written.
struct PreparedFile {
    enum class Kind {
        Unsupported, // not an image in a format Dovi reads
        Failed,      // an image that could not be read, resampled or encoded
        NotRequired, // no scaling needed; saved only for the alternate format
        Marked,      // resampled (or "Convert Only"): saved and logged complete
    };
    Kind kind = Kind::Unsupported;
    QString reason;    // for Failed
    bool save = false; // bytes hold the file to write at target
    OutputTarget target;
    QByteArray bytes;
    bool partial = false; // rows missing from the file were filled in
    SourceStamp source;   // the file as it was read
};

// Loads, scales and encodes one file in memory. Pure work with no side
// effect on disk, so it may run on any thread ahead of the commit.
PreparedFile prepareFile(const QString& source, const ProcessOptions& options);

// The file a processed source may be written to, known before decoding: the
// source itself in place, or the alternate name and folder.
QString potentialOutputPath(const QString& source, const ProcessOptions& options);

} // namespace dovi::batch
