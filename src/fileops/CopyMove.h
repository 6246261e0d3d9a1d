#pragma once

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::fileops {

class DestinationChooser;

// "&Copy File(s)": every file of the action list into the folder chosen, one
// file at a time, asking before an existing file is replaced. A file that
// could not be copied keeps its source and any old target as they were, gets
// a history line saying so, and counts in the "Errors" box at the end.
void copyFiles(Workspace& ws, Ui& ui, DestinationChooser& chooser);

// "&Move File(s)": as copy, but a source goes only once its copy is in place
// (a rename on one file system), a file is never moved onto itself, and the
// hold list is emptied afterwards unless it was bypassed.
void moveFiles(Workspace& ws, Ui& ui, DestinationChooser& chooser);

} // namespace dovi::fileops
