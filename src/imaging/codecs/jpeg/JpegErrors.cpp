#include "imaging/codecs/jpeg/JpegErrors.h"

#include <cstdlib>
#include <cstring>

namespace dovi::imaging::jpeg {

namespace {

ErrorManager& managerOf(j_common_ptr cinfo) {
    // pub is the first member, so the library's pointer is the manager's.
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void onError(j_common_ptr cinfo) {
    ErrorManager& err = managerOf(cinfo);
    if (err.ownMessage) {
        std::strncpy(err.message, err.ownMessage, sizeof err.message - 1);
        err.message[sizeof err.message - 1] = '\0';
    } else {
        cinfo->err->format_message(cinfo, err.message);
    }
    std::longjmp(err.jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return; // trace messages
    ErrorManager& err = managerOf(cinfo);
    if (err.pub.num_warnings++ == 0)
        cinfo->err->format_message(cinfo, err.firstWarning);
    if (err.onWarning)
        err.onWarning(cinfo, err.pub.msg_code);
}

void onOutput(j_common_ptr) {}

} // namespace

jpeg_error_mgr* ErrorManager::setUp() {
    jpeg_std_error(&pub);
    pub.error_exit = onError;
    pub.emit_message = onMessage;
    pub.output_message = onOutput;
    return &pub;
}

void fail(j_common_ptr cinfo, const char* why) {
    managerOf(cinfo).ownMessage = why;
    cinfo->err->error_exit(cinfo);
    std::abort(); // error_exit never returns
}

} // namespace dovi::imaging::jpeg
