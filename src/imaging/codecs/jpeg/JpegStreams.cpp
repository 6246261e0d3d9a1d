#include "imaging/codecs/jpeg/JpegStreams.h"

// clang-format off
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <new>

namespace dovi::imaging::jpeg {

namespace {

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

MemorySource& sourceOf(j_decompress_ptr cinfo) {
    return *reinterpret_cast<MemorySource*>(cinfo->src);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo) {
    MemorySource& src = sourceOf(cinfo);
    src.ranDry = true;
    if (cinfo->arith_code)
        src.noteCut(cinfo, JWRN_JPEG_EOF, true);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src.pub.next_input_byte = kEndOfImage;
    src.pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr& pub = sourceOf(cinfo).pub;
    while (static_cast<unsigned long>(count) > pub.bytes_in_buffer) {
        count -= static_cast<long>(pub.bytes_in_buffer);
        fillInput(cinfo);
    }
    pub.next_input_byte += count;
    pub.bytes_in_buffer -= static_cast<size_t>(count);
}

// Grows the array, reporting failure instead of throwing: the caller jumps out
// through libjpeg, which must not happen from inside a catch block.
bool resized(QByteArray& array, qsizetype size) {
    try {
        array.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

ByteArrayDestination& destinationOf(j_compress_ptr cinfo) {
    return *reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
}

void initDestination(j_compress_ptr cinfo) {
    ByteArrayDestination& dest = destinationOf(cinfo);
    if (!resized(*dest.out, dest.initialSize))
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(dest.out->data());
    dest.pub.free_in_buffer = static_cast<size_t>(dest.out->size());
}

boolean growDestination(j_compress_ptr cinfo) {
    // Called only when the buffer is full: double it.
    ByteArrayDestination& dest = destinationOf(cinfo);
    const qsizetype used = dest.out->size();
    if (!resized(*dest.out, used * 2))
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 11);
    dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(dest.out->data()) + used;
    dest.pub.free_in_buffer = static_cast<size_t>(dest.out->size() - used);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    ByteArrayDestination& dest = destinationOf(cinfo);
    dest.out->truncate(dest.out->size() - static_cast<qsizetype>(dest.pub.free_in_buffer));
}

} // namespace

void MemorySource::attach(j_decompress_ptr cinfo, Bytes bytes) {
    data = bytes;
    pub.init_source = initSource;
    pub.fill_input_buffer = fillInput;
    pub.skip_input_data = skipInput;
    pub.resync_to_restart = jpeg_resync_to_restart;
    pub.term_source = termSource;
    pub.next_input_byte = data.data();
    pub.bytes_in_buffer = data.size();
    cinfo->src = &pub;
}

void MemorySource::noteCut(j_decompress_ptr cinfo, int warning, bool dataEnds) {
    if (cinfo->input_scan_number <= 1 && cinfo->input_iMCU_row == 0 && !firstRowMissing) {
        firstRowMissing = true;
        firstRowWarning = warning;
    }
    if (dataEnds && !dataEnded) {
        dataEnded = true;
        scanAtEnd = cinfo->input_scan_number;
        rowsAtEnd = cinfo->input_iMCU_row;
    }
}

void ByteArrayDestination::attach(j_compress_ptr cinfo, QByteArray& target, qsizetype sizeHint) {
    out = &target;
    initialSize = std::max<qsizetype>(sizeHint, 4096);
    pub.init_destination = initDestination;
    pub.empty_output_buffer = growDestination;
    pub.term_destination = termDestination;
    cinfo->dest = &pub;
}

} // namespace dovi::imaging::jpeg
