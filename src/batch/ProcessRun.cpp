#include "batch/ProcessRun.h"

#include "batch/FileProcessing.h"
#include "batch/OutputCommit.h"
#include "batch/ProcessOptions.h"
#include "batch/RunFiles.h"
#include "batch/WorkFootprint.h"
#include "platform/SameFile.h"

#include <QThreadPool>

#include <chrono>
#include <deque>
#include <future>
#include <memory>

namespace dovi::batch {
namespace {

class Committer {
public:
    Committer(const QStringList& sources, const ProcessOptions& options, ProcessObserver& observer,
              ProcessSummary& summary)
        : run_(sources), options_(options), observer_(observer), summary_(summary) {}

    void commit(int index, const QString& source, const PreparedFile& prepared) {
        using Kind = PreparedFile::Kind;
        switch (prepared.kind) {
        case Kind::Unsupported:
            ++summary_.unsupported;
            report(source, QStringLiteral("not a supported image type"));
            return;
        case Kind::Failed:
            ++summary_.failed;
            report(source, prepared.reason);
            return;
        case Kind::NotRequired:
            report(source, QStringLiteral("resample not required"));
            break;
        case Kind::Marked:
            break;
        }
        if (prepared.save && !save(index, source, prepared))
            return;
        if (prepared.kind == Kind::Marked)
            observer_.logLine(source + kLogSeparator + QStringLiteral("complete"));
    }

private:
    void report(const QString& source, const QString& what) {
        observer_.logLine(source + kLogSeparator + what);
        if (options_.historyOn)
            observer_.historyLine(QStringLiteral("Processing ") + source + kLogSeparator + what);
    }

    bool save(int index, const QString& source, const PreparedFile& prepared) {
        OutputCommit c;
        c.index = index;
        c.source = source;
        c.sourceStamp = prepared.source;
        c.target = prepared.target.path;
        c.bytes = prepared.bytes;
        c.partial = prepared.partial;
        c.deleteSource = options_.deleteOriginal;
        c.beforeCommit = [&] { observer_.beforeCommit(source, c.target); };
        const platform::FileResult result = commitOutput(run_, c);
        if (!result.ok) {
            ++summary_.failed;
            report(source, result.reason);
        }
        return result.ok;
    }

    RunFiles run_;
    const ProcessOptions& options_;
    ProcessObserver& observer_;
    ProcessSummary& summary_;
};

struct Pending {
    int index;
    qint64 footprint;
    std::future<PreparedFile> result;
};

ProcessSummary runOneByOne(const QStringList& sources, const ProcessOptions& options,
                           ProcessObserver& observer) {
    ProcessSummary summary;
    Committer committer(sources, options, observer, summary);
    for (int i = 0; i < sources.size(); ++i) {
        if (observer.abortRequested()) {
            summary.aborted = true;
            return summary;
        }
        committer.commit(i, sources[i], prepareFile(sources[i], options));
        ++summary.finished;
        observer.fileFinished(i);
    }
    return summary;
}

} // namespace

ProcessSummary runProcess(const QStringList& sources, const ProcessOptions& options,
                          ProcessObserver& observer, int jobs) {
    if (jobs <= 1)
        return runOneByOne(sources, options, observer);

    ProcessSummary summary;
    Committer committer(sources, options, observer, summary);
    const int count = static_cast<int>(sources.size());

    // Identity of every path a file reads or may write, so that a file is not
    // prepared before an earlier file that writes or deletes its source is done.
    std::vector<QString> readKeys(count), writeKeys(count);
    for (int i = 0; i < count; ++i) {
        readKeys[i] = platform::pathIdentity(sources[i]);
        writeKeys[i] = platform::pathIdentity(potentialOutputPath(sources[i], options));
    }
    auto dependsOnUncommitted = [&](int j, int firstUncommitted) {
        for (int i = firstUncommitted; i < j; ++i)
            if (readKeys[j] == readKeys[i] || readKeys[j] == writeKeys[i])
                return true;
        return false;
    };

    QThreadPool pool;
    pool.setMaxThreadCount(jobs);
    std::deque<Pending> inFlight;
    const int window = jobs * 2;
    const qint64 budget = options.memoryBudget > 0 ? options.memoryBudget : defaultMemoryBudget();
    qint64 inFlightBytes = 0;
    int nextToStart = 0;
    qint64 nextFootprint = -1; // of nextToStart, once measured

    auto startMore = [&](int firstUncommitted) {
        while (nextToStart < count && static_cast<int>(inFlight.size()) < window &&
               !dependsOnUncommitted(nextToStart, firstUncommitted)) {
            if (nextFootprint < 0)
                nextFootprint = preparationFootprint(sources[nextToStart], options);
            // The file whose turn it is always goes, however large.
            if (!inFlight.empty() && inFlightBytes + nextFootprint > budget)
                return;
            auto promise = std::make_shared<std::promise<PreparedFile>>();
            inFlight.push_back({nextToStart, nextFootprint, promise->get_future()});
            inFlightBytes += nextFootprint;
            summary.peakInFlight = std::max(summary.peakInFlight, inFlightBytes);
            const QString source = sources[nextToStart];
            pool.start(
                [promise, source, &options] { promise->set_value(prepareFile(source, options)); });
            ++nextToStart;
            nextFootprint = -1;
        }
    };

    for (int i = 0; i < count; ++i) {
        startMore(i);
        if (observer.abortRequested()) {
            summary.aborted = true;
            break;
        }
        // Everything before i is committed, so file i is always started by now.
        Pending current = std::move(inFlight.front());
        inFlight.pop_front();
        while (current.result.wait_for(std::chrono::milliseconds(15)) !=
               std::future_status::ready) {
            if (observer.abortRequested()) {
                // The file in progress is finished first, as between files.
                current.result.wait();
            }
        }
        PreparedFile prepared = current.result.get();
        // Read ahead of its turn: when something outside the run changed or
        // removed the source since, do the file again as a one-by-one run would.
        if (prepared.source != platform::stampOf(sources[i]))
            prepared = prepareFile(sources[i], options);
        committer.commit(i, sources[i], prepared);
        inFlightBytes -= current.footprint;
        ++summary.finished;
        observer.fileFinished(i);
    }
    // Work started for files after an abort is waited for and thrown away.
    pool.waitForDone();
    return summary;
}

} // namespace dovi::batch
