#include "batch/ProcessRun.h"

#include "app/SharedServices.h"
#include "batch/FileProcessing.h"
#include "batch/ProcessOptions.h"
#include "platform/SameFile.h"

#include <QFile>
#include <QSaveFile>
#include <QThreadPool>

#include <chrono>
#include <deque>
#include <future>
#include <memory>

namespace dovi::batch {
namespace {

// Writes the prepared bytes over target through a temporary file in the same
// folder, so a failed or interrupted write leaves any old file untouched.
bool writeOutput(const PreparedFile& prepared, QString* error) {
    QSaveFile out(prepared.target.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(prepared.bytes) != prepared.bytes.size() ||
        !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

class Committer {
public:
    Committer(const ProcessOptions& options, ProcessObserver& observer, ProcessSummary& summary)
        : options_(options), observer_(observer), summary_(summary) {}

    void commit(const QString& source, const PreparedFile& prepared) {
        using Kind = PreparedFile::Kind;
        switch (prepared.kind) {
        case Kind::Unsupported:
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
        if (prepared.save && !save(source, prepared))
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

    bool save(const QString& source, const PreparedFile& prepared) {
        clearAttributes(source);
        if (fileExists(prepared.target.path))
            clearAttributes(prepared.target.path);
        QString error;
        if (!writeOutput(prepared, &error)) {
            ++summary_.failed;
            report(source, QStringLiteral("could not be saved as ") + prepared.target.path +
                               QStringLiteral(": ") + error);
            return false;
        }
        // The source goes only when the output is safely written and is not the
        // source itself under any name.
        if (options_.deleteOriginal && !platform::sameFile(source, prepared.target.path)) {
            clearAttributes(source);
            QFile original(source);
            if (!original.remove()) {
                ++summary_.failed;
                report(source, QStringLiteral("saved, but the original could not be deleted: ") +
                                   original.errorString());
                return false;
            }
        }
        return true;
    }

    const ProcessOptions& options_;
    ProcessObserver& observer_;
    ProcessSummary& summary_;
};

struct Pending {
    int index;
    std::shared_ptr<std::promise<PreparedFile>> promise;
    std::future<PreparedFile> result;
};

} // namespace

ProcessSummary runProcess(const QStringList& sources, const ProcessOptions& options,
                          ProcessObserver& observer, int jobs) {
    ProcessSummary summary;
    Committer committer(options, observer, summary);
    const int count = static_cast<int>(sources.size());

    if (jobs <= 1) {
        for (int i = 0; i < count; ++i) {
            if (observer.abortRequested()) {
                summary.aborted = true;
                return summary;
            }
            committer.commit(sources[i], prepareFile(sources[i], options));
            ++summary.finished;
            observer.fileFinished(i);
        }
        return summary;
    }

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
    int nextToStart = 0;

    auto startMore = [&](int firstUncommitted) {
        while (nextToStart < count && static_cast<int>(inFlight.size()) < window &&
               !dependsOnUncommitted(nextToStart, firstUncommitted)) {
            auto promise = std::make_shared<std::promise<PreparedFile>>();
            Pending p{nextToStart, promise, promise->get_future()};
            const QString source = sources[nextToStart];
            pool.start([promise, source, &options] {
                promise->set_value(prepareFile(source, options));
            });
            inFlight.push_back(std::move(p));
            ++nextToStart;
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
        if (prepared.source != stampOf(sources[i]))
            prepared = prepareFile(sources[i], options);
        committer.commit(sources[i], prepared);
        ++summary.finished;
        observer.fileFinished(i);
    }
    // Work started for files after an abort is waited for and thrown away.
    pool.waitForDone();
    return summary;
}

} // namespace dovi::batch
