#include "thumbs/ThumbnailPipeline.h"

#include "imaging/ops/Parallel.h"

#include <QThread>
#include <chrono>

namespace dovi::thumbs {

int ThumbnailPipeline::defaultWorkers() {
    return std::max(1, QThread::idealThreadCount());
}

ThumbnailPipeline::ThumbnailPipeline(QStringList paths, QSize size, int workers)
    : paths_(std::move(paths)), size_(size),
      ahead_(2 * (workers > 0 ? workers : defaultWorkers()) + 4) {
    const int count = workers > 0 ? workers : defaultWorkers();
    const int useful = int(std::min<qsizetype>(count, paths_.size()));
    workers_.reserve(size_t(useful));
    for (int i = 0; i < useful; ++i)
        workers_.emplace_back([this] { work(); });
}

ThumbnailPipeline::~ThumbnailPipeline() {
    stop();
    for (std::thread& t : workers_)
        t.join();
}

void ThumbnailPipeline::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    room_.notify_all();
    ready_.notify_all();
}

void ThumbnailPipeline::work() {
    // One picture per worker keeps every core busy; splitting each picture
    // into bands as well would only add hand-overs.
    imaging::ops::ScopedBands oneBand(1);
    for (;;) {
        int index;
        {
            std::unique_lock lock(mutex_);
            room_.wait(lock, [&] { return stopping_ || next_ < taken_ + ahead_; });
            if (stopping_ || next_ >= paths_.size())
                return;
            index = next_++;
        }
        Thumbnail t = makeThumbnail(paths_.at(index), size_);
        {
            std::lock_guard lock(mutex_);
            done_.emplace(index, std::move(t));
        }
        ready_.notify_all();
    }
}

Thumbnail ThumbnailPipeline::take(int index, const std::function<void()>& whileWaiting) {
    using namespace std::chrono_literals;
    Thumbnail t;
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (auto it = done_.find(index); it != done_.end()) {
                t = std::move(it->second);
                done_.erase(it);
                break;
            }
            if (workers_.empty() || stopping_ || index >= paths_.size()) {
                lock.unlock();
                return {};
            }
            if (ready_.wait_for(lock, 10ms, [&] { return done_.count(index) > 0; }))
                continue;
            if (whileWaiting) {
                lock.unlock();
                whileWaiting();
                lock.lock();
            }
        }
        taken_ = std::max(taken_, index + 1);
    }
    room_.notify_all();
    return t;
}

} // namespace dovi::thumbs
