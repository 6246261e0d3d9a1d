#pragma once
#include <QString>
#include <QStringList>

namespace dovi::batch {

struct ProcessOptions;

// Where a processing run reports, in list order: the process log window, or
// the command line.
class ProcessObserver {
public:
    virtual ~ProcessObserver() = default;
    // One line of the process log.
    virtual void logLine(const QString& line) = 0;
    // One line for the running history (only called when the history is on).
    virtual void historyLine(const QString& line) = 0;
    // The file at index finished (the progress bar moves on).
    virtual void fileFinished(int index) = 0;
    // Called before each file and while waiting for the workers: lets pending
    // window events run and says whether the user asked to stop.
    virtual bool abortRequested() = 0;
    // Called when the output of source is on disk under a temporary name,
    // just before the checks that guard its commit: a seam for tests that
    // change the files at that very moment.
    virtual void beforeCommit(const QString& source, const QString& target) {
        Q_UNUSED(source);
        Q_UNUSED(target);
    }
};

struct ProcessSummary {
    int finished = 0;    // files done before the end or the abort
    int failed = 0;      // files whose load, resample, save or delete failed
    int unsupported = 0; // files in no format Dovi reads, skipped
    bool aborted = false;
    // The most bytes of work (see preparationFootprint) held in flight at once.
    qint64 peakInFlight = 0;
};

// The text after a source path in a log line ("   ...   complete").
inline const QString kLogSeparator = QStringLiteral("   ...   ");

// Processes the files in order: each supported image is scaled to fit the box
// (unless "Convert Only"), saved in place or under the alternate format and
// folder, and the source deleted when asked and the output is a different,
// safely written file (see commitOutput: no file of the run overwrites
// another's output or a source of the run, and a source changed meanwhile is
// left alone). With jobs > 1 the decoding, resampling and encoding of later
// files runs on worker threads, within the options' memory budget, while
// writing, deleting, logging and the abort check happen here in list order:
// the outcome is the same as doing the files one by one, including when a
// file's output is a later file's source. Nothing is written for files after
// an abort.
ProcessSummary runProcess(const QStringList& sources, const ProcessOptions& options,
                          ProcessObserver& observer, int jobs);

} // namespace dovi::batch
