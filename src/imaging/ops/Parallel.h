#pragma once
#include <QtGlobal>
#include <functional>

namespace dovi::imaging::ops {

// How many bands of rows the operations called on this thread split a picture
// into while the object lives; without one, one band per core (small pictures
// stay whole). 1 keeps all the work on the calling thread: for callers that
// already keep every core busy (one picture per core) and for checking that
// the bands change nothing.
class ScopedBands {
public:
    explicit ScopedBands(int bands);
    ~ScopedBands();
    ScopedBands(const ScopedBands&) = delete;
    ScopedBands& operator=(const ScopedBands&) = delete;

private:
    int previous_;
};

namespace detail {

// Runs work(first, end) over consecutive bands of rows [0, rows), each band on
// a thread of its own (the first on the calling one), and returns when all are
// done. work must write only what belongs to its own rows. pixelsPerRow sizes
// the bands: a picture too small to be worth a thread is done in one.
void forEachBand(int rows, qint64 pixelsPerRow,
                 const std::function<void(int first, int end)>& work);

} // namespace detail

} // namespace dovi::imaging::ops
