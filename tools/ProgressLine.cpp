#include "ProgressLine.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine(int total) : total_(total), enabled_(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::show(int done) {
    if (!enabled_ || total_ <= 0)
        return;
    constexpr int kWidth = 40;
    const int filled = done * kWidth / total_;
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r[%s] %d/%d", bar, done, total_);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressLine::clear() {
    if (drawn_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        drawn_ = false;
    }
}
