#pragma once
#include <QString>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::fileops {

enum class ChooserMode {
    CopyMove,     // "Copy/Move Destination": must differ from the folder shown
    SelectFolder, // "Select a Folder": any folder
};

struct DestinationResult {
    bool cancelled = true;
    QString folder;                 // as the tree shows it: no trailing "/" but for "/"
    bool makeWorkingFolder = false; // "Make this your working directory" (copy/move)
};

// Asks the user for a folder. The window implements it; tests script it.
class DestinationChooser {
public:
    virtual ~DestinationChooser() = default;
    virtual DestinationResult choose(ChooserMode mode) = 0;
};

// The chooser's rules, so its window holds none of its own.
QString chooserCaption(ChooserMode mode);

// Where the tree opens: the remembered destination, or its nearest existing
// parent when it has gone.
QString chooserStartFolder(const Workspace& ws);

// The okay command with folder shown: in copy/move mode the folder listed in
// the main window is refused with "Destination cannot match the source!".
bool acceptDestination(const Workspace& ws, Ui& ui, ChooserMode mode, const QString& folder);

// Remembers the folder the copy/move chooser closed on, however it closed, as
// the next start: kept as written (names differ by case on Linux) and ending
// in "/".
void rememberDestination(Workspace& ws, const QString& folder);

} // namespace dovi::fileops
