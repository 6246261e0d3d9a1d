#pragma once
#include "batch/ProcessRun.h"

#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::batch {

// The process log window as a run sees it. The window itself sets
// ws.processAbort when Escape is released in its log list.
class ProcessWindowPort {
public:
    virtual ~ProcessWindowPort() = default;
    // Shows the window without blocking: progress 0 of count, the caption,
    // the focus in the log list.
    virtual void open(const QString& caption, int count) = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void addLogLine(const QString& line) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setCloseEnabled(bool enabled) = 0;
};

// "Process Image File(s)" over the given action list: the confirmation (when
// confirmations are on), the log window, the run through runProcess, and the
// tidy-up. Returns what the run came to; nothing ran when the user said No.
ProcessSummary processFiles(Workspace& ws, Ui& ui, ProcessWindowPort& window,
                            const QStringList& targets);

// The window's caption while it runs: "Converting 3 files. ESCAPE to abort".
QString processCaption(bool convertOnly, int count);
// Its caption at the normal end: "Work Complete", with the count of files that
// failed when any did ("Work Complete - 2 file(s) failed").
QString completionCaption(int failed);

} // namespace dovi::batch
