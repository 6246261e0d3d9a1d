#pragma once
#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::series {

inline const QString kNoHistoryMessage = QStringLiteral("No series history exists");
inline const QString kNoRecordsMessage = QStringLiteral("There are no records of previous series");
inline const QString kSelectSeriesMessage = QStringLiteral("Select a series from the list");

// Before the "Add to Series" window opens: false, after "No series history
// exists", when there is no history to continue.
bool seriesHistoryAvailable(Workspace& ws, Ui& ui);

// The texts the window lists, one per record in file order. A damaged line
// ends the list with "There are no records of previous series".
QStringList loadSeriesTexts(Workspace& ws, Ui& ui);

// Where the window goes on after one of its commands.
enum class AddStep { Stay, Close };

// Continues the series of the last selected text: renames the action list
// from the record's next index in its placement, then replaces every record
// of that text by one updated record at the end of the history.
AddStep doAddition(Workspace& ws, Ui& ui, const QStringList& targets,
                   const QStringList& selectedTexts);

struct RemoveOutcome {
    AddStep step = AddStep::Stay;
    bool reloaded = false; // texts holds the list read again
    QStringList texts;
};

// The window's "Remove": drops every record of the selected texts (asking
// first when confirmations are on). When the list comes out empty the window
// closes and the history is deleted, unless a damaged line hides records
// after it that a user could still mend by hand.
RemoveOutcome removeSeries(Workspace& ws, Ui& ui, const QStringList& selectedTexts);

} // namespace dovi::series
