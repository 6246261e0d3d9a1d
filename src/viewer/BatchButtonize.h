#pragma once
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::viewer {

struct ButtonizeSettings {
    int style = 1; // 1 raised, 0 inset
    int width = 5;
    int intensity = 50;
};

struct ButtonizeSummary {
    bool asked = false;    // the question was shown
    bool declined = false; // ... and answered No
    int buttonized = 0;
    int unsupported = 0; // not a picture in one of the four formats: untouched
    int failed = 0;      // a picture that could not be read, changed or written
};

// Buttonizes every file of the action list in place, in its own format.
// Files are read, changed and encoded on worker threads ahead of their turn
// and written in list order, each through a temporary file renamed over it:
// a file that fails, was decoded only in part, or changed on disk meanwhile
// (it is then done again) is never replaced by a bad picture. A file listed
// twice is changed once. Asks "Apply Buttonize to the selected file(s) ?"
// first when confirmActions is on.
ButtonizeSummary buttonizeFiles(Workspace& ws, Ui& ui, const QStringList& targets,
                                const ButtonizeSettings& settings, int jobs = 0);

} // namespace dovi::viewer
