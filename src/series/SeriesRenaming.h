#pragma once
#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::series {

// The file-name parts of a source path: D (up to and including the last "/")
// and E (from the last "." of the name to the end, empty when the name has no
// ".").
QString folderPart(const QString& source);
QString extensionPart(const QString& source);

// The series name for a source: D + I + text + E with the index as prefix,
// otherwise D + text + I + E. I in plain decimal.
QString seriesTarget(const QString& source, const QString& text, qint64 index, bool prefix);

// The name used when the series name is taken: "_!_" before its name part.
QString markedTarget(const QString& target);

struct SeriesRenameRun {
    qint64 nextIndex = 0; // the start plus the number of files, renamed or not
    int errors = 0;       // files left under their old name
};

// Renames every file of the action list into the series, in order. A taken
// name falls back to the "_!_" name; neither ever replaces an existing file,
// so a file whose both names are taken stays as it is and counts as an error,
// as does any other refused rename. The index moves on for every file. Writes
// a history line per file when the history is on and moves the progress bar.
SeriesRenameRun renameIntoSeries(Workspace& ws, Ui& ui, const QStringList& targets,
                                 const QString& text, qint64 startIndex, bool prefix);

// The one report of files that kept their names, as every file command
// reports its failures: "N error(s) occurred." in a box titled "Errors".
void reportRenameErrors(const Workspace& ws, Ui& ui, int errors);

} // namespace dovi::series
