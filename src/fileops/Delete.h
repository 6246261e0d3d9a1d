#pragma once
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::fileops {

// "&Delete File(s)": every file of the action list goes to the trash (setting
// "recycle" 1) or is deleted outright, one request per file. A file that could
// not go stays where it is, gets a history line saying so, and counts in the
// "Errors" box at the end.
void deleteFiles(Workspace& ws, Ui& ui);

struct DeleteRun {
    bool declined = false; // No to the question: nothing was touched
    int errors = 0;        // files that could not go
};

// The same run over the given paths (the folder removal hands in the folder's
// own files): question, loop, tidy-up.
DeleteRun deleteActionList(Workspace& ws, Ui& ui, const QStringList& paths);

} // namespace dovi::fileops
