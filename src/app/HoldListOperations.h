#pragma once
#include <QString>

// The hold list: files set aside from any number of folders, which the file
// commands act on instead of the selection while it holds anything.
namespace dovi {

class Workspace;
class Ui;

inline const QString kSelectHoldItemMessage = QStringLiteral("Please select a hold list item");

// Appends every name of the selection as it stood at its last refresh (the
// selection is not refreshed first), writes a history line per file, chooses
// the first entry and updates the counters. Duplicates are held twice.
void addToHoldList(Workspace& ws);

// Removes the chosen entry, or warns "Please select a hold list item".
void removeFromHoldList(Workspace& ws, Ui& ui);

// Shows the folder of the chosen entry, or warns as above.
void goToHeldPath(Workspace& ws, Ui& ui);

// Empties the hold list and unticks "Bypass Hold List". No question, no
// history line.
void clearHoldList(Workspace& ws);

// Drops the entries of these files (a move's files that really went); a list
// left empty is cleared as clearHoldList does, one still holding files keeps
// "Bypass Hold List" and chooses its first entry.
void dropHeldFiles(Workspace& ws, const QStringList& fullPaths);

// The entry chosen in the drop-down (the window calls this as the user picks).
void chooseHeldEntry(Workspace& ws, int index);

// The "Bypass Hold List" box.
void setBypassHoldList(Workspace& ws, bool bypass);

} // namespace dovi
