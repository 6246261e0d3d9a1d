#include "viewer/LatestOnly.h"

namespace dovi::viewer {

LatestOnly::LatestOnly(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &LatestOnly::flush);
}

void LatestOnly::post(std::function<void()> job) {
    job_ = std::move(job);
    if (!timer_.isActive())
        timer_.start();
}

void LatestOnly::flush() {
    timer_.stop();
    if (auto job = std::exchange(job_, {}))
        job();
}

void LatestOnly::drop() {
    timer_.stop();
    job_ = {};
}

} // namespace dovi::viewer
