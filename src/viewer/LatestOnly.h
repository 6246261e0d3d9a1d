#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

namespace dovi::viewer {

// Runs the newest of the jobs posted to it once the event loop is free, and
// drops the older ones: slider moves that arrive while a trial computes
// collapse into one trial of the final value.
class LatestOnly : public QObject {
public:
    explicit LatestOnly(QObject* parent = nullptr);

    void post(std::function<void()> job);
    // Runs the waiting job now (before Okay keeps the result).
    void flush();
    // Forgets the waiting job (before Cancel).
    void drop();
    bool pending() const { return bool(job_); }

private:
    QTimer timer_;
    std::function<void()> job_;
};

} // namespace dovi::viewer
