#pragma once
#include <QString>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

// The running history's own commands: clear, export, and what its window
// does when it closes.
namespace dovi::browser {

inline const QString kHistoryEmptyMessage = QStringLiteral("The History List is empty");
inline const QString kSaveHistoryTitle = QStringLiteral("Save Dovi History List");
inline const QString kHistoryFilter = QStringLiteral("Dovi History Lists (*.hst)");
inline const QString kHistoryFileName = QStringLiteral("Dovi.hst");

// Empties the history (no question). Closing the history window does the
// same: its lines go with it.
void clearHistory(Workspace& ws);

// Asks for a file and writes every line there, oldest first, each ended by
// CR LF. Warns when the history is empty; writes no history line itself.
void exportHistory(Workspace& ws, Ui& ui);

} // namespace dovi::browser
