#pragma once
#include <QString>
#include <functional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::fileops {

// The part of the rename box's text the user will most likely retype: the
// whole text when it has no ".", else the first (length - 4) characters (the
// name without a three-letter extension), nothing when that is 0 or less.
struct Highlight {
    int start = 0;
    int length = 0;
};
Highlight renameHighlight(const QString& text);

enum class RenameStep {
    Stay,             // the window stays open as it is
    StayAndHighlight, // stays open with the likely part selected again
    Renamed,          // done: the window closes
};

// Enter in the rename window: checks the new name and renames the file
// oldName of the folder shown. An existing file of the new name is never
// replaced; a name differing from the old one only in case is a rename.
RenameStep submitNewName(Workspace& ws, Ui& ui, const QString& oldName, const QString& newName);

// "&Rename File": the action list gates the command; the rename window is
// then shown for the file list's current file (openWindow returns whether it
// renamed), after which the list, selection, counters and preview are renewed.
void renameFile(Workspace& ws, Ui& ui, const std::function<bool(const QString&)>& openWindow);

} // namespace dovi::fileops
