#pragma once
// clang-format off
#include <cstdio> // jpeglib.h uses FILE and size_t without including their headers
#include <jpeglib.h>
// clang-format on

#include <QString>
#include <csetjmp>

namespace dovi::imaging::jpeg {

// libjpeg reports a fatal error through error_exit, which must not return.
// This manager jumps back to the innermost guarded() call and keeps the
// library's own message as the reason. Warnings (corrupt data the library
// works around) are counted and the first one is kept; nothing is printed.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    char firstWarning[JMSG_LENGTH_MAX] = {};
    const char* ownMessage = nullptr; // set by fail() for errors Dovi raises itself
    // Called for every warning with its message code, when set.
    void (*onWarning)(j_common_ptr cinfo, int code) = nullptr;

    // Fills pub with the library defaults plus the handlers above; the result
    // goes into cinfo.err before jpeg_create_*.
    jpeg_error_mgr* setUp();
    QString reason() const { return QString::fromLatin1(message); }
    QString warning() const { return QString::fromLatin1(firstWarning); }
};

// Ends the current libjpeg call with Dovi's own reason, from inside a callback.
[[noreturn]] void fail(j_common_ptr cinfo, const char* why);

// Runs body, returning false when libjpeg raised a fatal error inside it.
// The jump skips destructors, so body must only call libjpeg and touch objects
// that live outside it; nothing with a destructor may be created inside.
template <typename Body> [[gnu::noinline]] bool guarded(ErrorManager& err, Body&& body) {
    if (setjmp(err.jump))
        return false;
    body();
    return true;
}

} // namespace dovi::imaging::jpeg
