#pragma once
#include "browser/PreviewFacts.h"

#include <QMap>
#include <QStringList>
#include <condition_variable>
#include <mutex>

namespace dovi::test {

// A measurer for preview tests: answers with the facts scripted for a file's
// name (a name not scripted fails to load), records what it was asked, and can
// be held so a test decides when an answer arrives.
class ScriptedMeasurer : public browser::ImageMeasurer {
public:
    void script(const QString& name, const browser::ImageFacts& facts) {
        std::lock_guard lock(mutex_);
        facts_[name] = facts;
    }
    QStringList measured() const {
        std::lock_guard lock(mutex_);
        return measured_;
    }
    // While held, measure() waits after recording its call.
    void hold() {
        std::lock_guard lock(mutex_);
        held_ = true;
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            held_ = false;
        }
        changed_.notify_all();
    }
    bool waiting() const {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

    browser::ImageFacts measure(const QString& path, const QSize&) override {
        std::unique_lock lock(mutex_);
        measured_ << path;
        waiting_ = held_;
        changed_.wait(lock, [this] { return !held_; });
        waiting_ = false;
        return facts_.value(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    QMap<QString, browser::ImageFacts> facts_;
    QStringList measured_;
    bool held_ = false;
    bool waiting_ = false;
};

// Facts as a measurer reports a loaded picture.
inline browser::ImageFacts loadedFacts(int width, int height, qint64 size, qint64 colours,
                                       int bpp) {
    browser::ImageFacts f;
    f.fileType = 5;
    f.width = width;
    f.height = height;
    f.fileSize = size;
    f.uniqueColours = colours;
    f.bitsPerPixel = bpp;
    f.picture = QImage(8, 8, QImage::Format_RGB32);
    f.picture.fill(Qt::red);
    return f;
}

} // namespace dovi::test
