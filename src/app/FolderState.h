#pragma once
#include <QString>

// The folder shown and its list: which folder it is, what its list holds,
// what is selected, and the counters. Every subsystem calls back into these
// after it has changed files on disk.
namespace dovi {

class Workspace;

// Folder and name joined by the program's one rule (root joins directly).
QString fullPath(const Workspace& ws, const QString& name);

// A folder in the form the browser keeps it: no trailing "/" except for "/".
QString normaliseFolder(const QString& folder);

// The tree's folder change: list the new folder (files and sizer), refresh
// the selection and counters, and reset the preview.
void changeFolder(Workspace& ws, const QString& folder);

// Re-reads the file list from disk with its pattern and the attribute rules.
// Names still listed keep their selection flag.
void rereadFiles(Workspace& ws);

// rereadFiles, then the counters. The statistics listing comes from the list
// just read when both follow the same attribute rules (the usual case), so a
// large folder is not read twice.
void rereadFilesAndCount(Workspace& ws);

// rereadFiles, then refreshSelection, reading the folder once as above.
void rereadAndRefreshSelection(Workspace& ws);

// Rebuilds `selected` from the file list's selection, then the counters.
void refreshSelection(Workspace& ws);

// Re-reads the statistics listing and tells observers the counts changed.
void updateCounters(Workspace& ws);

// A file-type entry chosen: new pattern for both lists (0..5 only), re-read,
// refresh, reset the preview, and store "filter" at once.
void chooseFilter(Workspace& ws, int index);

// The start of browsing: the file-type entry of the "filter" setting gives
// the pattern (an index outside 0..5 leaves "*.*"), and the startup folder
// (the home folder when it has gone) is listed under the attribute rules.
void openStartupFolder(Workspace& ws);

// The startup folder, or when it has gone the home folder, or the root.
QString existingStartupFolder(const Workspace& ws);

// The attribute settings changed (at start, or when the preferences close):
// the list is read again under them, then the selection and counters.
void applyAttributeRules(Workspace& ws);

// The preview goes back to the logo with empty labels.
void resetPreview(Workspace& ws);

// Panel texts: "Total : 12", "Selected : 0", "Held : 3".
QString totalPanelText(const Workspace& ws);
QString selectedPanelText(const Workspace& ws);
QString heldPanelText(const Workspace& ws);

} // namespace dovi
