#pragma once
#include <QString>

namespace dovi::platform {

// What happened to one file: done, or failed with the reason in words a user
// can read in the running history.
struct FileResult {
    bool ok = true;
    QString reason;
    int error = 0; // the errno behind a failure, when there was one

    static FileResult done() { return {}; }
    static FileResult failed(QString why, int error = 0) { return {false, std::move(why), error}; }
    // The system's own wording for an errno value ("No space left on device").
    static FileResult fromErrno(int error);
};

} // namespace dovi::platform
