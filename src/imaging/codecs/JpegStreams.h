#pragma once
#include "imaging/codecs/CodecTypes.h"
#include "imaging/codecs/JpegErrors.h"

#include <QByteArray>

namespace dovi::imaging::jpeg {

// Feeds a file held in memory to the decoder. When the data runs out the
// library gets an end-of-image marker (and a "Premature end" warning), and
// the source notes how far decoding had come, so the caller can tell a file
// cut inside its first row of blocks from one that lost only its tail.
struct MemorySource {
    jpeg_source_mgr pub;
    Bytes data;
    bool ranDry = false;
    int scanAtEnd = 0;        // input_scan_number when the data ran out
    JDIMENSION rowsAtEnd = 0; // whole iMCU rows of that scan read by then

    void attach(j_decompress_ptr cinfo, Bytes bytes);
    // True when the data ended before one row of blocks of the first scan.
    bool endedBeforeFirstRow() const { return ranDry && scanAtEnd <= 1 && rowsAtEnd == 0; }
};

// Collects the encoder's output in a QByteArray, growing it as needed; the
// array holds exactly the file once jpeg_finish_compress has run.
struct ByteArrayDestination {
    jpeg_destination_mgr pub;
    QByteArray* out = nullptr;
    qsizetype initialSize = 0;

    void attach(j_compress_ptr cinfo, QByteArray& target, qsizetype sizeHint);
};

} // namespace dovi::imaging::jpeg
