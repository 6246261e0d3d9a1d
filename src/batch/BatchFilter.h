#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
namespace imaging {
class ImagingEngine;
}
} // namespace dovi

namespace dovi::batch {

// One parameterless filter of the "Apply Batch Filter" menu.
struct BatchFilter {
    QString name;          // the menu command's argument, "autocontrast"
    QString control;       // its menu item, "mnuautocont"
    QString question;      // "Apply AutoContrast to the selected file(s) ?"
    QString historySuffix; // " - Auto Contrast"
    bool (imaging::ImagingEngine::*apply)();
};

const QList<BatchFilter>& batchFilters();
// nullptr for a name not in the table.
const BatchFilter* findBatchFilter(const QString& name);

struct BatchFilterSummary {
    int filtered = 0;
    int unsupported = 0;
    int failed = 0; // supported files that could not be read, filtered or saved
};

// Applies the named filter to every file of the action list and saves each one
// in place in its own format, through commitOutput: a failed save, a picture
// decoded only in part, or a file changed meanwhile leaves the file as it was;
// a FIFO or other non-regular file is skipped unread. A name not in the table
// does nothing.
BatchFilterSummary applyBatchFilter(Workspace& ws, Ui& ui, const QString& name,
                                    const QStringList& targets);

} // namespace dovi::batch
