#pragma once
#include "imaging/codecs/CodecTypes.h"
#include "imaging/codecs/jpeg/JpegErrors.h"

#include <QByteArray>

namespace dovi::imaging::jpeg {

// Feeds a file held in memory to the decoder. When the data runs out the
// library gets an end-of-image marker (and a "Premature end" warning).
//
// The source also keeps track of where coded data stopped short, which the
// caller reports through noteCut() from its warning hook (an arithmetic
// decoder gives no warning, so for those the source notes running dry
// itself): after that point the library decodes empty blocks. That lets the caller refuse a file
// whose first scan broke off inside its first row of blocks (nothing of the picture arrived) and,
// when the picture's data has ended for good, stop decoding filler early.
struct MemorySource {
    jpeg_source_mgr pub;
    Bytes data;
    bool singleScan = true;   // set by the caller once the header is read
    bool ranDry = false;      // the library has been given the fake end
    bool dataEnded = false;   // no coded data follows the cut
    int scanAtEnd = 0;        // input_scan_number at that cut
    JDIMENSION rowsAtEnd = 0; // whole iMCU rows of that scan read by then
    bool firstRowMissing = false;
    int firstRowWarning = 0; // the warning that told of it

    void attach(j_decompress_ptr cinfo, Bytes bytes);
    // Coded data stopped short with this warning; dataEnds when nothing of the
    // picture can follow (data ran out, end-of-image, or the only scan broke off).
    void noteCut(j_decompress_ptr cinfo, int warning, bool dataEnds);
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
