#pragma once
#include <QString>

// Pieces every file command's frame shares.
namespace dovi {

class Workspace;
class Ui;

// Writes a running history line when the history is on.
void logLine(Workspace& ws, const QString& line);

// The one report of a run's failures, when there were any: an information box
// titled "Errors" reading errors + " error(s) occurred." + tail, and, with the
// history on (where each failure wrote its reason), a pointer to it.
void reportErrors(const Workspace& ws, Ui& ui, int errors, const QString& tail = {});

inline const QString kReasonsInHistory = QStringLiteral(" The Running History lists the reasons.");

// A history line for a step that failed: what + " NOT " + done + " - " + why.
QString failureLine(const QString& what, const QString& done, const QString& why);

} // namespace dovi
