#pragma once
#include "thumbs/ThumbnailMaker.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace dovi::thumbs {

// Makes the thumbnails of a list of files on worker threads, a little ahead
// of the one who takes them, so the taker can place them strictly in list
// order as they arrive. Workers run at most a bounded number of files ahead,
// so a list of thousands never holds more than a few results at once.
class ThumbnailPipeline {
public:
    // workers 0 means one per core.
    ThumbnailPipeline(QStringList paths, QSize size, int workers = 0);
    // Stops the workers after the files in progress and waits for them.
    ~ThumbnailPipeline();
    ThumbnailPipeline(const ThumbnailPipeline&) = delete;
    ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

    // The thumbnail of entry index (taken in increasing order). Blocks until
    // it is made, calling whileWaiting every few milliseconds meanwhile so
    // the window stays alive.
    Thumbnail take(int index, const std::function<void()>& whileWaiting = {});

    // Makes the workers start no further file.
    void stop();

    static int defaultWorkers();

private:
    void work();

    const QStringList paths_;
    const QSize size_;
    const int ahead_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    std::map<int, Thumbnail> done_;
    int next_ = 0;  // the next index a worker takes
    int taken_ = 0; // indexes below this were handed out
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace dovi::thumbs
